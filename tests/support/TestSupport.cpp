#include "TestSupport.h"

#include <sddl.h>
#include <shellapi.h>

#include <fstream>
#include <iterator>

std::string ProgramFolder()
{
    char path[MAX_PATH];
    std::string text(path, GetModuleFileNameA(nullptr, path, sizeof path));
    return text.substr(0, text.find_last_of('\\') + 1);
}

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned counter;
    path = std::string(base) + "velkin-test-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++counter) + "-" + std::to_string(GetTickCount()) + "\\";
    CreateDirectoryA(path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    std::string from = path.substr(0, path.size() - 1) + '\0';  // a list of one, ended by a second zero
    SHFILEOPSTRUCTA remove = {nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NO_UI, FALSE, nullptr, nullptr};
    SHFileOperationA(&remove);
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
}

int RunProgram(const std::string& commandLine, DWORD timeoutMs)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    // Wine starts a Linux program without a process handle, and its thread
    // "handle" may be the value of another handle of this process: closing
    // it would close that one.
    if (!process.hProcess)
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

void DrainMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

const char SystemOnly[] = "O:SYD:(A;;GA;;;SY)";
const char NoGrants[] = "D:";

HANDLE CreateGuardedMutex(const char* name, const char* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return nullptr;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    HANDLE mutex = CreateMutexA(&attributes, FALSE, name);
    LocalFree(descriptor);
    return mutex;
}
