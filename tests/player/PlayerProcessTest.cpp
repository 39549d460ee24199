#include "ExternalPrograms.h"
#include "PlayerHarness.h"
#include "Text.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <memory>

namespace {

const DWORD TimeoutMs = 30000;

// True when the combination is free: this test could register it itself.
bool IsFree(int value)
{
    return RegisterHotKey(nullptr, 0x7000, HotKeyModifiers(value), HotKeyCode(value)) &&
           UnregisterHotKey(nullptr, 0x7000);
}

// velkin.exe from a folder of its own, so its settings file is the test's and
// no vlkcfg.exe lies beside it; then the programs it starts, looked for there.
TEST(PlayerProcess, PlaysOnStartTakesCommandsFindsOrReportsTheProgramsItStartsAndKeepsNoModes)
{
    VirtualCd cd;
    cd.SetSpeed(1);
    cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00");
    TempFolder folder;
    // A drive beyond Z: has no letter: the default device plays.
    WriteWholeFile(folder.File("velkin.ini"), "[General]\r\nPlayOnExec=1\r\nDrive=26\r\n");
    for (const char* name : {"velkin.exe", "vcdaudio.dll"})
        CopyFileA((ProgramFolder() + name).c_str(), folder.File(name).c_str(), FALSE);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = "\"" + folder.File("velkin.exe") + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    struct Ender { HANDLE h; ~Ender() { TerminateProcess(h, 99), CloseHandle(h); } } ender = {process.hProcess};
    CloseHandle(process.hThread);
    HWND window = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (window = FindWindowA("VelkinPlayerWndClass", nullptr)) != nullptr; }, TimeoutMs));
    // Start-up ends with playing track 1.
    ASSERT_TRUE(PumpUntil([&] { return !cd.LogLines(" PLAY ").empty(); }, TimeoutMs));
    EXPECT_EQ(1, LogValue(cd.LogLines(" PLAY ")[0], "from"));
    // The player holds its mutex while it runs.
    HANDLE instance = OpenMutexA(SYNCHRONIZE, FALSE, PlayerMutexName);
    ASSERT_NE(nullptr, instance);
    DWORD whileRunning = WaitForSingleObject(instance, 0);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), whileRunning);
    if (whileRunning != WAIT_TIMEOUT)
        ReleaseMutex(instance);

    size_t lines = cd.LogLines().size(), stops = cd.LogLines(" STOP ").size();
    UINT command = RegisterWindowMessageA("VelkinSendCommand");
    SendMessageA(window, command, 15, 0);
    EXPECT_EQ(lines, cd.LogLines().size());
    SendMessageA(window, command, 0x10004, 0);  // the high word is ignored: play, which pauses
    EXPECT_EQ(stops + 1, cd.LogLines(" STOP ").size()) << cd.Log();
    EXPECT_EQ(1u, cd.LogLines(" PLAY ").size());

    // A new task bar asks for the icon again. The shell knows the icon when changing its tip succeeds.
    auto icon = [&](DWORD change) {
        NOTIFYICONDATAA data = {};
        data.cbSize = 88;
        data.hWnd = window;
        data.uFlags = NIF_TIP;
        return Shell_NotifyIconA(change, &data) != FALSE;
    };
    ASSERT_TRUE(icon(NIM_MODIFY)) << "the shell does not know the player's icon";
    icon(NIM_DELETE);
    EXPECT_FALSE(icon(NIM_MODIFY));
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(icon(NIM_MODIFY));

    // No configuration program: a message box owned by the player window, with
    // the player's title and the path it tried on a line of its own.
    PostMessageA(window, command, 10, 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        return (box = FindWindowA("#32770", "Velkinプレイヤー")) && GetWindow(box, GW_OWNER) == window;
    }, TimeoutMs));
    EXPECT_EQ("設定プログラム\n" + folder.File("vlkcfg.exe") + "\nを起動できません。", ItemText(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }, TimeoutMs));

    // The end of the session may end the process without its exit: the
    // drive in use (written before the configuration program was looked
    // for) is written again when the session really ends.
    SendMessageA(window, WM_COMMAND, IDM_DRIVEBASE + 3, 0);
    SendMessageA(window, WM_QUERYENDSESSION, 0, 0);
    SendMessageA(window, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ("[General]\r\nPlayOnExec=1\r\nDrive=-1\r\n", ReadWholeFile(folder.File("velkin.ini")))
        << "the session goes on: the drive waits for the exit";
    SendMessageA(window, WM_QUERYENDSESSION, 0, 0);
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ("[General]\r\nPlayOnExec=1\r\nDrive=3\r\n", ReadWholeFile(folder.File("velkin.ini")));
    SendMessageA(window, WM_COMMAND, IDM_DEFAULTDRIVE, 0);

    // Modes and pause are not kept: the settings file gains the drive only.
    // The mutex is given back, not left abandoned.
    SendMessageA(window, WM_COMMAND, IDM_REPEATALL, 0);
    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, TimeoutMs));
    EXPECT_EQ("[General]\r\nPlayOnExec=1\r\nDrive=-1\r\n", ReadWholeFile(folder.File("velkin.ini")));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(instance, 0));
    ReleaseMutex(instance);
    CloseHandle(instance);

    char path[MAX_PATH], old[MAX_PATH];
    // "ソ" and "表" end in the byte of a backslash; neither is a folder break.
    BuildConfigProgramPath("C:\\ソフト\\表ソ.exe", path, sizeof path);
    EXPECT_STREQ("C:\\ソフト\\vlkcfg.exe", path);
    // The system's file search looks in the current folder. Only the newer
    // name exists, as on Windows Vista and later; where both exist the older one wins.
    GetCurrentDirectoryA(sizeof old, old);
    SetCurrentDirectoryA(folder.Path().c_str());
    EXPECT_FALSE(FindVolumeControl(path, sizeof path)) << path;
    for (const char* name : {"sndvol.exe", "sndvol32.exe"}) {
        WriteWholeFile(folder.File(name), "");
        EXPECT_TRUE(FindVolumeControl(path, sizeof path) && CharLowerA(strrchr(path, '\\') + 1) == std::string(name))
            << path;
    }
    SetCurrentDirectoryA(old);
}

// The real vlkcfg.exe beside the player, which here ends at once because
// this test holds its mutex: the player reads the file again afterwards.
TEST(PlayerProcess, AfterTheConfigurationProgramTheFilesKeysActAloneAndTheDriveChosenStays)
{
    PlayerHarness player;
    player.cd.SetSpeed(1);
    player.cd.InsertDisc('D', "1:00.00 1:00.00");
    player.cd.InsertDisc('E', "1:00.00 1:00.00");
    CopyFileA((ProgramFolder() + "vlkcfg.exe").c_str(), player.folder.File("vlkcfg.exe").c_str(), FALSE);
    CopyText(player.app.modulePath, sizeof player.app.modulePath, player.folder.File("velkin.exe").c_str());
    HANDLE config = CreateMutexA(nullptr, FALSE, "VLKConfigMutex");
    player.Start();
    PlayerApplication& app = player.app;
    app.hotKeys.RegisterHotKeys();

    // Play and Stop swapped and Eject moved to J in the file while the
    // program ran: each combination now belongs to its new command alone,
    // and the old E no longer ejects.
    const int up = 458790, down = 458792, e = 458821, j = MakeHotKeyValue(7, 'J');
    WriteWholeFile(player.folder.File("velkin.ini"),
                   "[HotKey]\r\nPlay=" + std::to_string(down) + "\r\nStop=" + std::to_string(up) + "\r\nEject=" +
                       std::to_string(j) + "\r\n");
    app.LaunchConfigProgram();
    EXPECT_TRUE(app.settings.hotKeys[CommandPlay] == down && app.settings.hotKeys[CommandStop] == up);
    EXPECT_TRUE(IsFree(e)) << "the old Eject key still acts";
    const std::pair<int, int> moved[] = {{CommandPlay, down}, {CommandStop, up}, {CommandEject, j}};
    for (const auto& key : moved) {
        EXPECT_FALSE(IsFree(key.second)) << key.first;
        ASSERT_TRUE(UnregisterHotKey(app.window.hwnd, key.first));
        EXPECT_TRUE(IsFree(key.second)) << "held by another command than " << key.first;
    }

    // D: chosen, and the file cannot be written (a folder stands in its
    // place): the reload keeps D:, on which the device stays open.
    app.controller.SelectDrive(IDM_DRIVEBASE + 3);
    ASSERT_TRUE(DeleteFileA(player.folder.File("velkin.ini").c_str()));
    ASSERT_TRUE(CreateDirectoryA(player.folder.File("velkin.ini").c_str(), nullptr));
    app.LaunchConfigProgram();
    EXPECT_EQ(3, app.settings.Drive);
    HMENU drives = app.trayMenus.DriveMenu();
    app.trayMenus.BuildDriveMenu(drives);
    EXPECT_EQ("&D:", MenuText(drives, IDM_DRIVEBASE + 3, MF_BYCOMMAND));
    EXPECT_TRUE(GetMenuState(drives, IDM_DRIVEBASE + 3, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(drives, IDM_DEFAULTDRIVE, MF_BYCOMMAND) & MF_CHECKED);
    RemoveDirectoryA(player.folder.File("velkin.ini").c_str());
    CloseHandle(config);
}

// Another instance whose mutex this user may not open (it runs with more
// rights): both programs end at once with 0, as beside any other instance.
TEST(PlayerProcess, BothProgramsEndBesideAnInstanceTheyMayNotOpen)
{
    TempFolder folder;
    for (const char* name : {"velkin.exe", "vlkcfg.exe", "vcdaudio.dll"})
        CopyFileA((ProgramFolder() + name).c_str(), folder.File(name).c_str(), FALSE);
    const std::pair<const char*, const char*> programs[] = {{"velkin.exe", PlayerMutexName},
                                                            {"vlkcfg.exe", "VLKConfigMutex"}};
    for (const auto& program : programs) {
        HANDLE running = CreateGuardedMutex(program.second, SystemOnly);
        ASSERT_NE(nullptr, running);
        ASSERT_EQ(nullptr, OpenMutexA(SYNCHRONIZE, FALSE, program.second)) << "the mutex can be opened";
        std::string line = "\"" + folder.File(program.first) + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        CloseHandle(process.hThread);
        DWORD code = 99;
        if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        else
            TerminateProcess(process.hProcess, 99), WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hProcess);
        CloseHandle(running);
        EXPECT_EQ(0u, code) << program.first << " ran beside another instance";
    }
}

// A program started from a command line, ended when the object goes.
struct Started {
    HANDLE process = nullptr;
    explicit Started(std::string line)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            CloseHandle(info.hThread), process = info.hProcess;
    }
    ~Started() { process && TerminateProcess(process, 99) && WaitForSingleObject(process, 10000), CloseHandle(process); }
};

// The text of the balloon that the shell shows, read from the shell's
// tooltip in the shell's own memory, in Shift_JIS; empty when none is shown.
// (Wine's tooltip does not answer TTM_GETTITLE, so the title is not read.)
std::string ShownBalloon()
{
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(tip, &owner);
        if (IsWindowVisible(tip) && (GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON) && owner != GetCurrentProcessId())
            break;
    }
    if (!tip)
        return "";
    DWORD shellId = 0;
    GetWindowThreadProcessId(tip, &shellId);
    HANDLE shell = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, shellId);
    struct Exchange {
        TTTOOLINFOW tool;
        WCHAR text[1024];
    };
    auto* remote = static_cast<Exchange*>(VirtualAllocEx(shell, nullptr, sizeof(Exchange), MEM_COMMIT, PAGE_READWRITE));
    Exchange local = {};
    local.tool.cbSize = sizeof local.tool;
    local.tool.lpszText = remote->text;
    WriteProcessMemory(shell, remote, &local, sizeof local, nullptr);
    SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&remote->tool));
    ReadProcessMemory(shell, remote, &local, sizeof local, nullptr);
    VirtualFreeEx(shell, remote, 0, MEM_RELEASE);
    CloseHandle(shell);
    char text[2048] = "";
    local.text[1023] = 0;
    WideCharToMultiByte(932, 0, local.text, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

// Keys that another program holds: the player names them once in a balloon
// on its icon, at start and after the configuration program, and only a
// changed set again.
TEST(PlayerProcess, TellsOnceInABalloonWhichHotKeysAnotherProgramHolds)
{
    VirtualCd cd;
    TempFolder folder;
    CopyFileA((ProgramFolder() + "velkin.exe").c_str(), folder.File("velkin.exe").c_str(), FALSE);
    // A configuration program that ends at once.
    CopyFileA((ProgramFolder() + "app_probe.exe").c_str(), folder.File("vlkcfg.exe").c_str(), FALSE);
    const int eject = CommandTable[CommandEject].defaultValue, load = CommandTable[CommandLoad].defaultValue;
    auto holder = std::make_unique<Started>("\"" + ProgramFolder() + "key_holder.exe\" " + std::to_string(eject) + " " +
                                            std::to_string(load));
    // Idle once it has registered its keys; asking earlier could take a key from it.
    ASSERT_EQ(0u, WaitForInputIdle(holder->process, TimeoutMs));
    ASSERT_TRUE(!IsFree(eject) && !IsFree(load));

    Started player("\"" + folder.File("velkin.exe") + "\"");
    HWND window = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (window = FindWindowA("VelkinPlayerWndClass", nullptr)) != nullptr; }, TimeoutMs));
    std::string balloon;
    ASSERT_TRUE(PumpUntil([&] { return !(balloon = ShownBalloon()).empty(); }, TimeoutMs));
    EXPECT_EQ("ほかのプログラムが使っているショートカットキー:\n取り出し: Ctrl+Alt+Shift+E\n"
              "格納: Ctrl+Alt+Shift+L\n「設定」の「ショートカットキー」で変更できます。",
              balloon);
    EXPECT_FALSE(IsFree(CommandTable[CommandNext].defaultValue)) << "the other keys are the player's";

    // The icon taken away and given back hides the balloon; the same keys
    // after the configuration program are not told again.
    NOTIFYICONDATAA icon = {};
    icon.cbSize = 88;
    icon.hWnd = window;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_TRUE(PumpUntil([] { return ShownBalloon().empty(); }, TimeoutMs));
    UINT command = RegisterWindowMessageA("VelkinSendCommand");
    SendMessageA(window, command, CommandCustom, 0);
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ("", ShownBalloon());

    // Another set is told: the other program now holds only Eject.
    holder.reset();
    holder = std::make_unique<Started>("\"" + ProgramFolder() + "key_holder.exe\" " + std::to_string(eject));
    ASSERT_EQ(0u, WaitForInputIdle(holder->process, TimeoutMs));
    ASSERT_FALSE(IsFree(eject));
    SendMessageA(window, command, CommandCustom, 0);
    ASSERT_TRUE(PumpUntil([&] { return !(balloon = ShownBalloon()).empty(); }, TimeoutMs));
    EXPECT_EQ("ほかのプログラムが使っているショートカットキー:\n取り出し: Ctrl+Alt+Shift+E\n"
              "「設定」の「ショートカットキー」で変更できます。",
              balloon);
    EXPECT_FALSE(IsFree(load)) << "Load is the player's now";

    // All keys free: nothing to tell.
    Shell_NotifyIconA(NIM_DELETE, &icon);
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    holder.reset();
    SendMessageA(window, command, CommandCustom, 0);
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ("", ShownBalloon());
    EXPECT_FALSE(IsFree(eject));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(player.process, TimeoutMs));
}

}  // namespace
