// The manifest each program file carries, as the system's loader reads it.
#include "TestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// The headers declare it only for Windows Vista and later; the build targets XP.
extern "C" __declspec(dllimport) BOOL WINAPI QueryActCtxSettingsW(DWORD, HANDLE, PCWSTR, PCWSTR, PWSTR, SIZE_T, SIZE_T*);

namespace {

// The comctl32.dll that loads while the context is active, its path in lower case.
std::string ControlsFile(HANDLE context)
{
    char path[MAX_PATH] = "";
    ULONG_PTR cookie = 0;
    if (ActivateActCtx(context, &cookie)) {
        HMODULE controls = LoadLibraryA("comctl32.dll");
        GetModuleFileNameA(controls, path, sizeof path);
        FreeLibrary(controls);
        DeactivateActCtx(0, cookie);
    }
    return CharLowerA(path);
}

TEST(ProgramFiles, EachProgramCarriesAManifestForTodaysWindowsAndEveryDisplayScale)
{
    // Windows Vista, 7, 8, 8.1, and 10 with 11, in the manifest's order.
    const GUID vistaToEleven[] = {{0xe2011457, 0x1546, 0x43c5, {0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0}},
                                  {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},
                                  {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},
                                  {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},
                                  {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}}};
    for (const char* name : {"velkin.exe", "vlkcfg.exe"}) {
        SCOPED_TRACE(name);
        const std::string path = ProgramFolder() + name;
        ACTCTXA request = {};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path.c_str();
        request.lpResourceName = MAKEINTRESOURCEA(1);
        HANDLE context = CreateActCtxA(&request);
        ASSERT_NE(INVALID_HANDLE_VALUE, context) << "no manifest (type 24, id 1): " << GetLastError();
        // The ANSI code page stays the system's: Shift_JIS on Japanese Windows.
        WCHAR codePage[32] = L"";
        EXPECT_FALSE(QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2019/WindowsSettings",
                                          L"activeCodePage", codePage, 32, nullptr))
            << "activeCodePage";
        // Drawn at each monitor's scale: Windows 8.1 reads the first, 10 and 11 the second.
        WCHAR aware[64] = L"", awareness[64] = L"";
        QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", aware,
                             64, nullptr);
        QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                             awareness, 64, nullptr);
        EXPECT_EQ(std::wstring(L"true/pm|PerMonitorV2, PerMonitor"), std::wstring(aware) + L"|" + awareness);
        ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
        QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, nullptr);
        EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, level.RunLevel);
        // Each element as Windows 10 and Wine give it, with its maxversiontested.
        struct {
            DWORD count;
            struct { GUID id; ACTCTX_COMPATIBILITY_ELEMENT_TYPE type; ULONGLONG maxVersionTested; } elements[8];
        } systems = {};
        QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, &systems, sizeof systems, nullptr);
        ASSERT_EQ(5u, systems.count);
        for (DWORD i = 0; i < systems.count; ++i)
            EXPECT_TRUE(systems.elements[i].type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS &&
                        IsEqualGUID(vistaToEleven[i], systems.elements[i].id)) << i;
        // The visual style's common controls, from their side-by-side folder.
        EXPECT_NE(std::string::npos, ControlsFile(context).find("microsoft.windows.common-controls_6595b64144ccf1df_6."))
            << ControlsFile(context);
        ReleaseActCtx(context);
    }
}

}  // namespace
