#include "Scenario.h"

#include <dbt.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const char PlayerClass[] = "VelkinPlayerWndClass";
const DWORD SendTimeoutMs = 15000;

struct WindowSearch {
    DWORD processId;
    const char* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId)
        return TRUE;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, search->className) == 0 && (!search->visibleOnly || IsWindowVisible(window)))
        search->found.push_back(window);
    return TRUE;
}

// m:s.f to frames (75 a second).
int Frames(const std::string& length)
{
    int minutes = 0, seconds = 0, frames = 0;
    sscanf(length.c_str(), "%d:%d.%d", &minutes, &seconds, &frames);
    return (minutes * 60 + seconds) * 75 + frames;
}

std::string UnixPath(const std::string& windowsPath)
{
    typedef char* (CDECL * ToUnix)(LPCWSTR);
    ToUnix toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH];
    if (!toUnix || !MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH))
        return std::string();
    char* unixPath = toUnix(wide);
    if (!unixPath)
        return std::string();
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

}  // namespace

// ---- Installation ----

Installation::Installation()
{
    for (const char* name : {"velkin.exe", "vlkcfg.exe", "vcdaudio.dll"})
        CopyFileA((ProgramFolder() + name).c_str(), folder.File(name).c_str(), FALSE);
}

void Installation::WriteSstpSettings(int port, const std::string& script, const std::string& general) const
{
    WriteSettings("[General]\r\nSoundOnInsert=0\r\n" + general +
                  "[SSTP]\r\nSendSstpMsg=1\r\nCheckSstpServer=0\r\nSstpServer=127.0.0.1\r\nSstpPort=" +
                  std::to_string(port) + "\r\nSstpScript=" + script + "\r\n");
}

std::string DiscId(const std::string& tracks)
{
    std::vector<int> lengths;
    size_t at = 0;
    while (at < tracks.size()) {
        size_t end = tracks.find(' ', at);
        if (end == std::string::npos)
            end = tracks.size();
        std::string track = tracks.substr(at, end - at);
        if (track.compare(0, 5, "data/") == 0)
            track = track.substr(5);
        if (!track.empty())
            lengths.push_back(Frames(track));
        at = end + 1;
    }
    unsigned long sum = 0;
    int start = 150;  // the lead-in: track 1 starts at 00:02:00
    for (int length : lengths) {
        sum += (static_cast<unsigned long>(start / 4500) << 16) | ((start / 75 % 60) << 8) | (start % 75);
        start += length;
    }
    if (lengths.size() < 3)
        sum += 150 % 75 + (start - 150);
    char text[16];
    snprintf(text, sizeof text, "%lX", sum & 0xFFFFFFFFul);
    return text;
}

// ---- Process ----

Process::Process(const std::string& program)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info) != FALSE;
}

Process::~Process()
{
    if (!started)
        return;
    if (IsRunning()) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 10000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

bool Process::IsRunning() const
{
    return started && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

HWND Process::WaitForWindow(const char* className, DWORD timeoutMs)
{
    HWND window = nullptr;
    if (!started || !PumpUntil([&] {
            std::vector<HWND> found = ProcessWindows(info.dwProcessId, className, false);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr || !IsRunning();
        }, timeoutMs))
        return nullptr;
    if (!window)
        return nullptr;
    // The window answers sent messages already while start-up waits on the
    // shell; the program is ready once its message loop waits for input.
    if (WaitForInputIdle(info.hProcess, timeoutMs) != 0)
        return nullptr;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result))
        return nullptr;
    return window;
}

int Process::WaitForExit(DWORD timeoutMs)
{
    if (!started)
        return -1;
    DWORD start = GetTickCount();
    while (IsRunning()) {
        if (GetTickCount() - start > timeoutMs)
            return -1;
        MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 50, QS_ALLINPUT);
        DrainMessages();
    }
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<int>(code);
}

std::vector<HWND> ProcessWindows(DWORD processId, const char* className, bool visibleOnly)
{
    WindowSearch search = {processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowText(HWND window)
{
    char text[512] = "";
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &length);
    return text;
}

// ---- Player ----

Player::Player(const Installation& installation, const VirtualCd& cd) : process(installation.Player())
{
    window = process.WaitForWindow(PlayerClass);
    // Its last step of start-up asks the drive whether a disc is in.
    const std::string askedForDisc = std::to_string(process.Id()) + " ";
    if (window && !PumpUntil([&] {
            for (const std::string& line : cd.LogLines(" STATUS "))
                if (line.compare(0, askedForDisc.size(), askedForDisc) == 0 &&
                    line.find("item=0x5 ") != std::string::npos)
                    return true;
            return false;
        }, 20000))
        window = nullptr;
}

void Player::Command(int index)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, RegisterWindowMessageA("VelkinSendCommand"), index, 0, SMTO_NORMAL, SendTimeoutMs,
                        &result);
}

void Player::PostCommand(int index)
{
    PostMessageA(window, RegisterWindowMessageA("VelkinSendCommand"), index, 0);
}

void Player::Menu(int id)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_COMMAND, id, 0, SMTO_NORMAL, SendTimeoutMs, &result);
}

void Player::PostMenu(int id)
{
    PostMessageA(window, WM_COMMAND, id, 0);
}

void Player::ClickIcon(bool left)
{
    PostMessageA(window, WM_APP, 0, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN);
}

HWND Player::WaitForMenu(DWORD timeoutMs)
{
    HWND menu = nullptr;
    PumpUntil([&] {
        std::vector<HWND> menus = ProcessWindows(process.Id(), "#32768", true);
        menu = menus.empty() ? nullptr : menus.front();
        return menu != nullptr;
    }, timeoutMs);
    return menu;
}

bool Player::CloseMenu()
{
    PostMessageA(window, WM_CANCELMODE, 0, 0);
    return PumpUntil([&] { return ProcessWindows(process.Id(), "#32768", true).empty(); }, 5000);
}

int Player::Exit()
{
    PostMenu(MenuExit);
    return process.WaitForExit();
}

void BroadcastDeviceChange(bool arrival, char letter)
{
    DEV_BROADCAST_VOLUME volume = {};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (letter - 'A');
    volume.dbcv_flags = DBTF_MEDIA;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                        reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG, SendTimeoutMs, &result);
}

// ---- The drive's log ----

std::vector<std::string> StartedPlays(const VirtualCd& cd)
{
    std::vector<std::string> started;
    for (const std::string& line : cd.LogLines(" PLAY ")) {
        size_t arrow = line.rfind("-> ");
        if (arrow != std::string::npos && atoi(line.c_str() + arrow + 3) == 0)
            started.push_back(line);
    }
    return started;
}

std::string PlayValue(const std::string& playLine, const char* name)
{
    std::string key = std::string(" ") + name + "=";
    size_t at = playLine.find(key);
    if (at == std::string::npos)
        return std::string();
    at += key.size();
    return playLine.substr(at, playLine.find(' ', at) - at);
}

int FromTrack(const std::string& playLine)
{
    std::string from = PlayValue(playLine, "from");
    return from.empty() ? 0 : static_cast<int>(strtoul(from.c_str(), nullptr, 16) & 0xFF);
}

bool WaitForPlays(const VirtualCd& cd, size_t count, DWORD timeoutMs)
{
    return PumpUntil([&] { return StartedPlays(cd).size() >= count; }, timeoutMs);
}

// ---- SSTP ----

SstpServer::SstpServer() {}

std::string SstpServer::ScriptOf(const std::string& request)
{
    size_t at = request.find("\r\nScript: ");
    if (at == std::string::npos)
        return std::string();
    at += 2;
    return request.substr(at, request.find("\r\n", at) - at);
}

// ---- The Linux side ----

int RunUnixProgram(const std::string& commandLine, DWORD timeoutMs)
{
    // Wine starts a program that is not a Windows one as a Linux process,
    // but gives no handle to wait on: the shell leaves its exit code in a file.
    TempFolder folder;
    std::string marker = folder.File("exit-code");
    std::string unixMarker = UnixPath(marker);
    if (unixMarker.empty())
        return -1;
    std::string line = "Z:\\bin\\sh -c \"" + commandLine + "; echo $? >" + unixMarker + ".part; mv " + unixMarker +
                       ".part " + unixMarker + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (!PumpUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs))
        return -1;
    return atoi(ReadWholeFile(marker).c_str());
}

bool Screenshot(const std::string& name)
{
    std::string folder = ProgramFolder() + "..\\e2e-screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string unixFolder = UnixPath(folder);
    if (unixFolder.empty())
        return false;
    // Let the window finish drawing.
    PumpUntil([] { return false; }, 400);
    std::string file = unixFolder + "/" + name + ".png";
    DeleteFileA((folder + "\\" + name + ".png").c_str());
    return RunUnixProgram("/usr/bin/import -window root " + file) == 0 &&
           GetFileAttributesA((folder + "\\" + name + ".png").c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool PressKeys(const std::string& keys)
{
    // Wine takes key presses from the X server only while one of its windows
    // has the focus: a small window of this test takes it.
    HWND focus = CreateWindowExA(0, "STATIC", "velkin-e2e-focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 160, 60,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    DrainMessages();
    int code = RunUnixProgram("/usr/bin/xdotool search --name velkin-e2e-focus windowfocus --sync key " + keys);
    DestroyWindow(focus);
    DrainMessages();
    return code == 0;
}
