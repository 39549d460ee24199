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

// Menu command ids and command indices as other programs see them.
enum : int {
    MenuPlay = 40001,
    MenuStop = 40002,
    MenuBack = 40003,
    MenuNext = 40004,
    MenuEject = 40005,
    MenuAbout = 40006,
    MenuExit = 40007,
    MenuLoad = 40008,
    MenuCdVolume = 40014,
    MenuConfig = 40018,
    MenuCdInfo = 40019,
    MenuRepeatAll = 40023,
    MenuRepeatOne = 40024,
    MenuRandom = 40025,
    MenuIntro = 40026,
    MenuTrackBase = 50000,
    MenuDefaultDrive = 51000,
    MenuDriveBase = 51001,
};

// A copy of velkin.exe, vlkcfg.exe and the virtual drive's DLL in a fresh
// folder, which also holds their "velkin.ini" and the "cdplayer.ini" that
// the player finds first (its own folder leads the search path).
class Installation {
public:
    Installation();
    std::string Player() const { return folder.File("velkin.exe"); }
    std::string Config() const { return folder.File("vlkcfg.exe"); }
    std::string SettingsPath() const { return folder.File("velkin.ini"); }
    std::string Settings() const { return ReadWholeFile(SettingsPath()); }
    void WriteSettings(const std::string& text) const { WriteWholeFile(SettingsPath(), text); }
    void WriteDiscDatabase(const std::string& text) const { WriteWholeFile(folder.File("cdplayer.ini"), text); }
    // Settings that send every track start to a loopback port.
    void WriteSstpSettings(int port, const std::string& script, const std::string& general = "") const;

private:
    TempFolder folder;
};

// The disc ID ("cdplayer.ini" section) of a track list as VirtualCd takes it.
std::string DiscId(const std::string& tracks);

// A program of the installation, running.
class Process {
public:
    explicit Process(const std::string& program);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return started; }
    DWORD Id() const { return info.dwProcessId; }
    bool IsRunning() const;
    // Its first visible-or-not top-level window of the class once it answers
    // messages; null when none came in time.
    HWND WaitForWindow(const char* className, DWORD timeoutMs = 20000);
    // Exit code, or -1 when the process did not end in time.
    int WaitForExit(DWORD timeoutMs = 20000);

private:
    bool started = false;
    PROCESS_INFORMATION info = {};
};

// Top-level windows of a process with a class ("#32768" for an open popup
// menu, "#32770" for a dialog), visible ones only when asked.
std::vector<HWND> ProcessWindows(DWORD processId, const char* className, bool visibleOnly);
std::string WindowText(HWND window);

// The player as other programs drive it.
class Player {
public:
    // Starts the player and waits until it has opened the drive.
    Player(const Installation& installation, const VirtualCd& cd);
    Process process;
    HWND window = nullptr;

    // The registered "VelkinSendCommand", sent: returns once handled.
    void Command(int index);
    // The same, posted, for commands that open a menu or a modal window.
    void PostCommand(int index);
    void Menu(int id);      // WM_COMMAND, sent
    void PostMenu(int id);  // WM_COMMAND, posted
    // The tray icon's callback for a press of the left or right button.
    void ClickIcon(bool left);
    // The popup menu once it is open; null when none opened.
    HWND WaitForMenu(DWORD timeoutMs = 5000);
    // Closes an open menu the way the system does (WM_CANCELMODE).
    bool CloseMenu();
    // "終了" from the menu; the exit code.
    int Exit();
};

// WM_DEVICECHANGE broadcast for a volume of a CD drive.
void BroadcastDeviceChange(bool arrival, char letter);

// Lines of the drive's command log that start a play ("PLAY ... -> 0"), and
// the track each starts from (the low byte of from=, or 0 without from=).
std::vector<std::string> StartedPlays(const VirtualCd& cd);
int FromTrack(const std::string& playLine);
std::string PlayValue(const std::string& playLine, const char* name);
// Waits until at least count plays have started.
bool WaitForPlays(const VirtualCd& cd, size_t count, DWORD timeoutMs = 10000);

// The SSTP requests of one scenario, in order, each as its raw bytes.
class SstpServer {
public:
    SstpServer();
    int Port() const { return listener.Port(); }
    // Next request; empty when none came in time.
    std::string Next(DWORD timeoutMs = 5000) { return listener.ReceiveAll(timeoutMs); }
    // The script line of a request ("Script: ..." without its line end).
    static std::string ScriptOf(const std::string& request);

private:
    SocketLibrary sockets;
    LoopbackListener listener;
};

// Runs a program of the Linux side (xdotool, ImageMagick), given the unix
// path of the program and its arguments. Its exit code, -1 when it failed.
int RunUnixProgram(const std::string& commandLine, DWORD timeoutMs = 15000);
// Saves the X screen as <build>/e2e-screenshots/<name>.png.
bool Screenshot(const std::string& name);
// Presses keys on the X display (xdotool's names, e.g. ctrl+alt+Right).
bool PressKeys(const std::string& keys);
