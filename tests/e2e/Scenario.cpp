#include "Scenario.h"

#include "Disc.h"

#include <dbt.h>
#include <stdio.h>
#include <stdlib.h>

const UINT CommandMessage = RegisterWindowMessageA("VelkinSendCommand");

namespace {

// Runs a command line of the Linux side. Wine gives no handle to wait on for
// a Linux program, so the shell leaves a marker when the command succeeded.
bool RunUnixCommand(const std::string& command)
{
    const std::string marker = E2E_BUILD_FOLDER "/e2e-command-done";
    DeleteFileA(("Z:" + marker).c_str());
    RunProgram("Z:\\bin\\sh -c \"" + command + " && touch " + marker + "\"");
    return PumpUntil([&] { return GetFileAttributesA(("Z:" + marker).c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000);
}

}  // namespace

Installation::Installation()
{
    for (const char* name : {"velkin.exe", "vlkcfg.exe", "vcdaudio.dll"})
        CopyFileA((ProgramFolder() + name).c_str(), File(name).c_str(), FALSE);
}

std::string DiscEntry(const std::string& tracks, const std::string& title, const std::string& artist,
                      const std::vector<std::string>& names)
{
    Disc disc;
    disc.Parse(tracks);
    char id[16];
    snprintf(id, sizeof id, "%lX", disc.Identity());
    std::string text = std::string("[") + id + "]\r\ntitle=" + title + "\r\nartist=" + artist + "\r\n";
    for (size_t i = 0; i < names.size(); ++i)
        text += std::to_string(i) + "=" + names[i] + "\r\n";
    return text;
}

Process::Process(const std::string& program)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return;
    CloseHandle(info.hThread);
    handle = info.hProcess;
    id = info.dwProcessId;
    WaitForInputIdle(handle, 20000);
}

Process::Process(HWND window)
{
    GetWindowThreadProcessId(window, &id);
    handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, id);
}

Process::~Process()
{
    if (handle && TerminateProcess(handle, 99))
        WaitForSingleObject(handle, 10000);
    if (handle)
        CloseHandle(handle);
}

int Process::WaitForExit()
{
    DWORD code = static_cast<DWORD>(-1);
    if (handle && PumpUntil([&] { return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }, 20000))
        GetExitCodeProcess(handle, &code);
    return static_cast<int>(code);
}

HWND WaitForWindow(const char* className, DWORD processId)
{
    HWND found = nullptr;
    PumpUntil([&] {
        while ((found = FindWindowExA(nullptr, found, className, nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (IsWindowVisible(found) && (processId ? owner == processId : owner != GetCurrentProcessId()))
                return true;
        }
        return false;
    }, 10000);
    return found;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 15000, &result);
    return static_cast<LRESULT>(result);
}

Player::Player(const Installation& installation, const VirtualCd& cd) : process(installation.File("velkin.exe"))
{
    // Its last step of start-up asks the drive whether a disc is in.
    const std::string asked = std::to_string(process.Id()) + " ";
    if (PumpUntil([&] {
            for (const std::string& line : cd.LogLines(" item=0x5 "))
                if (line.compare(0, asked.size(), asked) == 0 && line.find(" STATUS ") != std::string::npos)
                    return true;
            return false;
        }, 20000))
        window = FindWindowA("VelkinPlayerWndClass", nullptr);
}

void BroadcastDeviceChange(bool arrival, char letter)
{
    DEV_BROADCAST_VOLUME volume = {sizeof volume, DBT_DEVTYP_VOLUME, 0, 1u << (letter - 'A'), DBTF_MEDIA};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                        reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG, 15000, &result);
}

std::vector<unsigned long> PlayedFrom(const VirtualCd& cd)
{
    std::vector<unsigned long> starts;
    for (const std::string& line : cd.LogLines(" PLAY ")) {
        size_t from = line.find(" from=");
        if (line.size() > 4 && line.compare(line.size() - 4, 4, "-> 0") == 0)
            starts.push_back(from == std::string::npos ? 0 : strtoul(line.c_str() + from + 6, nullptr, 16));
    }
    return starts;
}

bool WaitForPlays(const VirtualCd& cd, size_t count)
{
    return PumpUntil([&] { return PlayedFrom(cd).size() >= count; }, 10000);
}

std::string ScriptOf(const std::string& request)
{
    size_t at = request.find("\r\nScript: ");
    return at == std::string::npos ? std::string() : request.substr(at + 2, request.find("\r\n", at + 2) - at - 2);
}

bool IsHotKeyTaken(UINT key)
{
    const int id = 0x7100;
    return !RegisterHotKey(nullptr, id, MOD_ALT | MOD_CONTROL | MOD_SHIFT, key) || !UnregisterHotKey(nullptr, id);
}

bool Screenshot(const std::string& name)
{
    PumpUntil([] { return false; }, 400);  // lets the window finish drawing
    const std::string folder = E2E_BUILD_FOLDER "/e2e-screenshots";
    return RunUnixCommand("mkdir -p " + folder + " && /usr/bin/import -window root " + folder + "/" + name + ".png");
}

bool PressKeys(const std::string& keys)
{
    // Wine takes key presses from the X server only while one of its windows
    // has the focus: a small window of this test takes it.
    HWND focus = CreateWindowExA(0, "STATIC", "velkin-e2e-focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 160, 60,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    DrainMessages();
    bool pressed = RunUnixCommand("/usr/bin/xdotool search --name velkin-e2e-focus windowfocus --sync key " + keys);
    DestroyWindow(focus);
    return pressed;
}
