// The manifest each program file carries, as the system's loader reads it.
#include "TestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>

#include <set>
#include <string>

namespace {

// The activation context that the loader makes from a program's manifest.
struct ProgramContext {
    HANDLE handle = INVALID_HANDLE_VALUE;
    explicit ProgramContext(const std::string& path)
    {
        ACTCTXA context = {};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = path.c_str();
        context.lpResourceName = MAKEINTRESOURCEA(1);
        handle = CreateActCtxA(&context);
    }
    ~ProgramContext() { handle != INVALID_HANDLE_VALUE && (ReleaseActCtx(handle), true); }
    ACTCTX_REQUESTED_RUN_LEVEL RunLevel() const
    {
        ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
        QueryActCtxW(0, handle, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, nullptr);
        return level.RunLevel;
    }
    // The systems named as supported, as GUID texts in lower case.
    std::set<std::string> Systems() const
    {
        // Each element as Windows 10 and Wine give it, with its maxversiontested.
        struct Element {
            GUID Id;
            ACTCTX_COMPATIBILITY_ELEMENT_TYPE Type;
            ULONGLONG MaxVersionTested;
        };
        struct {
            DWORD ElementCount;
            Element Elements[16];
        } answer = {};
        std::set<std::string> systems;
        if (!QueryActCtxW(0, handle, nullptr, CompatibilityInformationInActivationContext, &answer, sizeof answer,
                          nullptr))
            return systems;
        for (DWORD i = 0; i < answer.ElementCount && i < 16; ++i) {
            const GUID& id = answer.Elements[i].Id;
            char text[40];
            snprintf(text, sizeof text, "%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", id.Data1, id.Data2,
                     id.Data3, id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5],
                     id.Data4[6], id.Data4[7]);
            if (answer.Elements[i].Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
                systems.insert(text);
        }
        return systems;
    }
    // The assembly that the program's first dependency binds to, and
    // whether comctl32.dll then loads from that assembly's folder.
    std::string Controls() const
    {
        union {
            ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION info;
            char bytes[4096];
        } answer = {};
        ACTIVATION_CONTEXT_QUERY_INDEX dependency = {2, 0};
        if (!QueryActCtxW(0, handle, &dependency, AssemblyDetailedInformationInActivationContext, &answer,
                          sizeof answer, nullptr))
            return "";
        char identity[512] = "", folder[MAX_PATH] = "", loaded[MAX_PATH] = "";
        WideCharToMultiByte(CP_ACP, 0, answer.info.lpAssemblyEncodedAssemblyIdentity, -1, identity, sizeof identity,
                            nullptr, nullptr);
        WideCharToMultiByte(CP_ACP, 0, answer.info.lpAssemblyDirectoryName, -1, folder, sizeof folder, nullptr,
                            nullptr);
        ULONG_PTR cookie = 0;
        if (ActivateActCtx(handle, &cookie)) {
            HMODULE controls = LoadLibraryA("comctl32.dll");
            GetModuleFileNameA(controls, loaded, sizeof loaded);
            FreeLibrary(controls);
            DeactivateActCtx(0, cookie);
        }
        bool fromAssembly = *folder && std::string(CharLowerA(loaded)).find(CharLowerA(folder)) != std::string::npos;
        return std::string(identity) + (fromAssembly ? " (comctl32.dll from it)" : "");
    }
};

std::string ManifestText(const std::string& path)
{
    HMODULE file = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    std::string text;
    if (found)
        text.assign(static_cast<const char*>(LockResource(LoadResource(file, found))), SizeofResource(file, found));
    FreeLibrary(file);
    return text;
}

TEST(ProgramFiles, EachProgramCarriesAManifestForTodaysWindows)
{
    const std::set<std::string> vistaToEleven = {
        "e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
        "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
        "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"};
    for (const char* name : {"velkin.exe", "vlkcfg.exe"}) {
        SCOPED_TRACE(name);
        const std::string path = ProgramFolder() + name;
        std::string text = ManifestText(path);
        ASSERT_FALSE(text.empty()) << "no manifest (type 24, id 1)";
        // The ANSI code page stays the system's: Shift_JIS on Japanese Windows.
        EXPECT_EQ(std::string::npos, text.find("<activeCodePage"));
        ProgramContext context(path);
        ASSERT_NE(INVALID_HANDLE_VALUE, context.handle) << GetLastError();
        EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, context.RunLevel());
        EXPECT_EQ(vistaToEleven, context.Systems());
        std::string controls = context.Controls();
        EXPECT_EQ(0u, controls.find("Microsoft.Windows.Common-Controls,")) << controls;
        EXPECT_NE(std::string::npos, controls.find("version=\"6.")) << controls;
        EXPECT_NE(std::string::npos, controls.find(" (comctl32.dll from it)")) << controls;
    }
}

}  // namespace
