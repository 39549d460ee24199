#pragma once

#include "Disc.h"
#include "LoopbackListener.h"
#include "TestSupport.h"
#include "VirtualCd.h"
#include "resource.h"

#include <windows.h>

#include <dbt.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

// What the acceptance scenarios share: the real programs in a folder of
// their own, started as processes and driven from outside the way the
// shell, the system and other programs do.

// The registered message that other programs drive the player with.
inline const UINT CommandMessage = RegisterWindowMessageA("VelkinSendCommand");

// A copy of velkin.exe, vlkcfg.exe and the virtual drive's DLL in a fresh
// folder, which also holds their "velkin.ini" and the "cdplayer.ini" that
// the player finds first (its own folder leads the search path).
struct Installation : TempFolder {
    Installation()
    {
        for (const char* name : {"velkin.exe", "vlkcfg.exe", "vcdaudio.dll"})
            CopyFileA((ProgramFolder() + name).c_str(), File(name).c_str(), FALSE);
    }
    std::string Settings() const { return ReadWholeFile(File("velkin.ini")); }
};

// A "cdplayer.ini" section for a disc of these tracks (as VirtualCd takes them).
inline std::string DiscEntry(const std::string& tracks, const std::string& title, const std::string& artist,
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

// A running program (or the one that owns a window), ended when the object goes.
struct Process {
    HANDLE handle = nullptr;
    explicit Process(const std::string& program)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            handle = info.hProcess;
        }
    }
    explicit Process(HWND window)
    {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, id);
    }
    ~Process()
    {
        if (handle)  // a process that has ended already is not waited for
            TerminateProcess(handle, 99), WaitForSingleObject(handle, 10000), CloseHandle(handle);
    }
    // Exit code, or -1 when the process did not end in time.
    int WaitForExit()
    {
        DWORD code = static_cast<DWORD>(-1);
        if (handle && PumpUntil([&] { return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }, 20000))
            GetExitCodeProcess(handle, &code);
        return static_cast<int>(code);
    }
};

// The first visible top-level window of a class ("#32768" an open popup
// menu, "#32770" a dialog) of another program; null when none came in time.
inline HWND WaitForWindow(const char* className)
{
    HWND found = nullptr;
    PumpUntil([&] {
        while ((found = FindWindowExA(nullptr, found, className, nullptr)) != nullptr)
            if (IsWindowVisible(found) && GetWindowThreadProcessId(found, nullptr) != GetCurrentThreadId())
                return true;
        return false;
    }, 10000);
    return found;
}

// SendMessage that gives up after a while; the result.
inline LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 15000, &result);
    return static_cast<LRESULT>(result);
}

// The player as other programs drive it.
struct Player {
    Process process;
    HWND window = nullptr;
    // Starts the player and waits until it has opened the drive (its last
    // step of start-up asks whether a disc is in); the window stays null
    // when it did not.
    Player(const Installation& installation, const VirtualCd& cd) : process(installation.File("velkin.exe"))
    {
        if (PumpUntil([&] { return !cd.LogLines(" item=0x5 ").empty(); }, 20000))
            window = FindWindowA("VelkinPlayerWndClass", nullptr);
    }
    // "VelkinSendCommand" with these command indexes, or WM_COMMAND with
    // these menu ids, one after the other.
    template <typename... Index> void Command(Index... indexes) { (Send(window, CommandMessage, indexes), ...); }
    template <typename... Id> void Menu(Id... ids) { (Send(window, WM_COMMAND, ids), ...); }
    // "終了" from the menu; the exit code.
    int Exit() { return PostMessageA(window, WM_COMMAND, IDM_EXIT, 0) ? process.WaitForExit() : -1; }
};

// The disc in a drive taken out and another put in, each change broadcast
// with WM_DEVICECHANGE the way the system tells it.
inline void SwapDisc(VirtualCd& cd, char letter, const std::string& tracks)
{
    DEV_BROADCAST_VOLUME volume = {sizeof volume, DBT_DEVTYP_VOLUME, 0, 1u << (letter - 'A'), DBTF_MEDIA};
    for (bool arrival : {false, true}) {
        arrival ? cd.InsertDisc(letter, tracks) : cd.RemoveDisc(letter);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                            reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG, 15000, &result);
    }
}

// Where each play that the drive started began (TMSF: a track's number for
// its start), 0 for one that goes on where the drive stands.
inline std::vector<unsigned long> PlayedFrom(const VirtualCd& cd)
{
    std::vector<unsigned long> starts;
    for (const std::string& line : cd.LogLines(" PLAY ")) {
        size_t from = line.find(" from=");
        if (line.size() > 4 && line.compare(line.size() - 4, 4, "-> 0") == 0)
            starts.push_back(from == std::string::npos ? 0 : strtoul(line.c_str() + from + 6, nullptr, 16));
    }
    return starts;
}

inline bool WaitForPlays(const VirtualCd& cd, size_t count)
{
    return PumpUntil([&] { return PlayedFrom(cd).size() >= count; }, 10000);
}

// Whether some program holds Ctrl+Alt+Shift with the key as its hot-key.
inline bool IsHotKeyTaken(UINT key)
{
    return !RegisterHotKey(nullptr, 1, MOD_ALT | MOD_CONTROL | MOD_SHIFT, key) || !UnregisterHotKey(nullptr, 1);
}

// Runs a command line of the Linux side. Wine gives no handle to wait on for
// a Linux program, so the shell leaves a marker when the command succeeded.
inline bool RunUnixCommand(const std::string& command)
{
    const std::string marker = "Z:" E2E_BUILD_FOLDER "/e2e-command-done";
    DeleteFileA(marker.c_str());
    RunProgram("Z:\\bin\\sh -c \"" + command + " && touch " + marker.substr(2) + "\"");
    return PumpUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000);
}

// Saves the X screen as <build>/e2e-screenshots/<name>.png.
inline bool Screenshot(const std::string& name)
{
    PumpUntil([] { return false; }, 400);  // lets the window finish drawing
    const std::string folder = E2E_BUILD_FOLDER "/e2e-screenshots";
    return RunUnixCommand("mkdir -p " + folder + " && /usr/bin/import -window root " + folder + "/" + name + ".png");
}

// Presses keys on the X display (xdotool's names, e.g. ctrl+alt+Right).
inline bool PressKeys(const std::string& keys)
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
