#pragma once

#include "LoopbackListener.h"
#include "TestSupport.h"
#include "VirtualCd.h"

#include <windows.h>

#include <string>
#include <vector>

// What the acceptance scenarios share: the real programs in a folder of
// their own, started as processes and driven from outside the way the
// shell, the system and other programs do.

// Menu command ids as other programs send them.
enum : int {
    MenuStop = 40002, MenuNext = 40004, MenuAbout = 40006, MenuExit = 40007, MenuRepeatAll = 40023,
    MenuRepeatOne = 40024, MenuRandom = 40025, MenuIntro = 40026, MenuTrackBase = 50000, MenuDriveBase = 51001,
};
extern const UINT CommandMessage;  // the registered "VelkinSendCommand"

// A copy of velkin.exe, vlkcfg.exe and the virtual drive's DLL in a fresh
// folder, which also holds their "velkin.ini" and the "cdplayer.ini" that
// the player finds first (its own folder leads the search path).
struct Installation : TempFolder {
    Installation();
    std::string Settings() const { return ReadWholeFile(File("velkin.ini")); }
};

// A "cdplayer.ini" section for a disc of these tracks (as VirtualCd takes them).
std::string DiscEntry(const std::string& tracks, const std::string& title, const std::string& artist,
                      const std::vector<std::string>& names);

// A running program, ended when the object goes.
class Process {
public:
    explicit Process(const std::string& program);
    explicit Process(HWND window);  // the one that owns the window
    ~Process();
    Process(const Process&) = delete;
    DWORD Id() const { return id; }
    // Exit code, or -1 when the process did not end in time.
    int WaitForExit();

private:
    HANDLE handle = nullptr;
    DWORD id = 0;
};

// The first visible top-level window of a class ("#32768" an open popup
// menu, "#32770" a dialog) of a process, or of any other process than this
// one for 0; null when none came in time.
HWND WaitForWindow(const char* className, DWORD processId);
// SendMessage that gives up after a while; the result.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam = 0);

// The player as other programs drive it.
struct Player {
    // Starts the player and waits until it has opened the drive; the window
    // stays null when it did not.
    Player(const Installation& installation, const VirtualCd& cd);
    Process process;
    HWND window = nullptr;

    void Command(int index) { Send(window, CommandMessage, index); }
    void Menu(int id) { Send(window, WM_COMMAND, id); }
    // "終了" from the menu; the exit code.
    int Exit() { return PostMessageA(window, WM_COMMAND, MenuExit, 0) ? process.WaitForExit() : -1; }
};

// WM_DEVICECHANGE broadcast for a CD drive's volume.
void BroadcastDeviceChange(bool arrival, char letter);

// Where each play that the drive started began (TMSF: a track's number for
// its start), 0 for one that goes on where the drive stands.
std::vector<unsigned long> PlayedFrom(const VirtualCd& cd);
bool WaitForPlays(const VirtualCd& cd, size_t count);
// The "Script: ..." line of an SSTP request.
std::string ScriptOf(const std::string& request);

// Whether some program holds Ctrl+Alt+Shift with the key as its hot-key.
bool IsHotKeyTaken(UINT key);

// Saves the X screen as <build>/e2e-screenshots/<name>.png.
bool Screenshot(const std::string& name);
// Presses keys on the X display (xdotool's names, e.g. ctrl+alt+Right).
bool PressKeys(const std::string& keys);
