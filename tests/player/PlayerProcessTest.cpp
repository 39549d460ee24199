#include "CddbTestServer.h"
#include "ExternalPrograms.h"
#include "PlayerHarness.h"
#include "Scenario.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <memory>

namespace {

const DWORD TimeoutMs = 30000;
const UINT TaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
// Longer than a shell waits before it shows a balloon (Wine's: 2 seconds).
const DWORD BalloonDelayMs = 3000;

// True when the combination is free: this test could register it itself.
bool IsHotKeyFree(int value)
{
    return RegisterHotKey(nullptr, 0x7000, HotKeyModifiers(value), HotKeyCode(value)) &&
           UnregisterHotKey(nullptr, 0x7000);
}

// Changes the player's icon in the shell; false when the shell does not know it.
bool Icon(HWND window, DWORD change)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = 88;
    data.hWnd = window;
    data.uFlags = NIF_TIP;
    return Shell_NotifyIconA(change, &data) != FALSE;
}

// The text of the balloon that the shell shows (a tooltip of another
// process), or empty when none shows.
std::string ShownBalloon()
{
    for (HWND tip = nullptr; (tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(tip, &owner);
        char text[2048] = "";
        if (IsWindowVisible(tip) && (GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON) && owner != GetCurrentProcessId())
            return SendMessageA(tip, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), text;
    }
    return "";
}

// Another program holding these keys, once it has registered them (asking
// earlier could take a key from it).
std::unique_ptr<Process> HoldKeys(std::initializer_list<int> keys)
{
    std::string held;
    for (int key : keys)
        held += std::to_string(key) + " ";
    SetEnvironmentVariableA("VELKIN_HELD_KEYS", held.c_str());
    auto holder = std::make_unique<Process>(ProgramFolder() + "key_holder.exe");
    EXPECT_EQ(0u, WaitForInputIdle(holder->handle, TimeoutMs));
    for (int key : keys)
        EXPECT_FALSE(IsHotKeyFree(key)) << key;
    return holder;
}

// velkin.exe from a folder of its own, so its settings file is the test's and
// no vlkcfg.exe lies beside it at first, on a disc that no cdplayer.ini
// knows, with a CDDB server that holds its answer back, while another
// program holds the keys of Eject and Load.
TEST(PlayerProcess, PlaysOnStartAnswersWhileTheServerIsSlowTellsTakenKeysOnceAndWritesTheDriveAtTheEnd)
{
    VirtualCd cd;
    cd.SetSpeed(1);
    cd.SetShortLastTrack(true);
    cd.InsertDisc('E', "5:00.00 5:00.00 4:00.00");  // CDDB disc ID 0f034803
    CddbTestServer server;
    server.AnswerRaw({"cddb query", CddbTestServer::HttpOk(CddbQueryBody({u8"rock 0f034803 ヴェルキン / 夜明けの回路"})),
                      INFINITE, std::string::npos, false});
    server.Answer("cddb read rock 0f034803", u8"210 rock 0f034803\r\nDTITLE=ヴェルキン / 夜明けの回路\r\n"
                                             u8"TTITLE0=はじまり\r\n.\r\n");
    const int eject = CommandTable[CommandEject].defaultValue, load = CommandTable[CommandLoad].defaultValue;
    auto holder = HoldKeys({eject, load});
    Installation folder;
    DeleteFileA(folder.File("vlkcfg.exe").c_str());
    const std::string cddb = "[CDDB]\r\nLookup=1\r\nServer=127.0.0.1\r\nPort=" + std::to_string(server.Port()) +
                             "\r\nEmail=someone@example.org\r\n";
    auto settings = [&](const char* drive) {
        return std::string("[General]\r\nPlayOnExec=1\r\nDrive=") + drive + "\r\n" + cddb;
    };
    // A drive beyond Z: has no letter: the default device plays.
    WriteWholeFile(folder.File("velkin.ini"), settings("26"));
    Player player(folder, cd);
    ASSERT_NE(nullptr, player.window);
    // Start-up ends with playing track 1; the lookup asks meanwhile.
    ASSERT_TRUE(PumpUntil([&] { return !cd.LogLines(" PLAY ").empty(); }, TimeoutMs));
    EXPECT_EQ(1, LogValue(cd.LogLines(" PLAY ")[0], "from"));
    ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() == 1; }, TimeoutMs));
    EXPECT_EQ("GET /~cddb/cddb.cgi?cmd=cddb+query+0f034803+3+150+22650+45150+842"
              "&hello=someone+example.org+velkin+2.01&proto=6 HTTP/1.0",
              server.RequestLines()[0]);
    // The player holds its mutex while it runs.
    HANDLE instance = OpenMutexA(SYNCHRONIZE, FALSE, PlayerMutexName);
    ASSERT_NE(nullptr, instance);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(instance, 0));
    // The keys another program holds, named once in a balloon on the icon.
    std::string balloon;
    ASSERT_TRUE(PumpUntil([&] { return !(balloon = ShownBalloon()).empty(); }, TimeoutMs));
    EXPECT_EQ("ほかのプログラムが使っているショートカットキー:\n取り出し: Ctrl+Alt+Shift+E\n"
              "格納: Ctrl+Alt+Shift+L\n「設定」の「ショートカットキー」で変更できます。",
              balloon);
    EXPECT_FALSE(IsHotKeyFree(CommandTable[CommandNext].defaultValue)) << "the other keys are the player's";

    // While the server is slow the player answers: an index beyond the
    // commands does nothing; the high word is ignored (4: Play, which pauses).
    size_t lines = cd.LogLines().size(), stops = cd.LogLines(" STOP ").size();
    player.Command(15);
    EXPECT_EQ(lines, cd.LogLines().size());
    player.Command(0x10004);
    EXPECT_EQ(stops + 1, cd.LogLines(" STOP ").size()) << cd.Log();
    EXPECT_EQ(1u, cd.LogLines(" PLAY ").size());
    EXPECT_EQ("", ReadWholeFile(folder.File("cdplayer.ini")));
    // Then the entry lands beside velkin.exe.
    server.ReleaseHeld();
    const std::string entry = "title=夜明けの回路\r\nartist=ヴェルキン\r\nnumtracks=3\r\n0=はじまり\r\n";
    EXPECT_TRUE(PumpUntil([&] { return ReadWholeFile(folder.File("cdplayer.ini")).find(entry) != std::string::npos; },
                          TimeoutMs))
        << ReadWholeFile(folder.File("cdplayer.ini"));

    // No configuration program: a message box owned by the player window, with
    // the player's title and the path it tried on a line of its own.
    PostMessageA(player.window, CommandMessage, CommandCustom, 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        return (box = FindWindowA("#32770", PlayerTitle)) && GetWindow(box, GW_OWNER) == player.window;
    }, TimeoutMs));
    EXPECT_EQ("設定プログラム\n" + folder.File("vlkcfg.exe") + "\nを起動できません。", ItemText(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }, TimeoutMs));

    // A new task bar asks for the icon again, without the balloon; the same
    // keys after a configuration program (one that ends at once) are not told again.
    CopyFileA((ProgramFolder() + "app_probe.exe").c_str(), folder.File("vlkcfg.exe").c_str(), FALSE);
    ASSERT_TRUE(Icon(player.window, NIM_DELETE)) << "the shell does not know the player's icon";
    SendMessageA(player.window, TaskbarCreated, 0, 0);
    EXPECT_TRUE(Icon(player.window, NIM_MODIFY)) << "the icon did not come back";
    ASSERT_TRUE(PumpUntil([] { return ShownBalloon().empty(); }, TimeoutMs));
    player.Command(CommandCustom), player.Command(CommandCount);  // answered once the first is done
    PumpUntil([] { return false; }, BalloonDelayMs);
    EXPECT_EQ("", ShownBalloon());
    // Another set is told: Load moved to J, which is free. Moved back, the
    // first set is not told again.
    const int j = MakeHotKeyValue(7, 'J');
    WriteWholeFile(folder.File("velkin.ini"), settings("-1") + "[HotKey]\r\nLoad=" + std::to_string(j) + "\r\n");
    player.Command(CommandCustom);
    ASSERT_TRUE(PumpUntil([&] { return !(balloon = ShownBalloon()).empty(); }, TimeoutMs));
    EXPECT_EQ("ほかのプログラムが使っているショートカットキー:\n取り出し: Ctrl+Alt+Shift+E\n"
              "「設定」の「ショートカットキー」で変更できます。",
              balloon);
    EXPECT_FALSE(IsHotKeyFree(j)) << "J is the player's now";
    Icon(player.window, NIM_DELETE), SendMessageA(player.window, TaskbarCreated, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return ShownBalloon().empty(); }, TimeoutMs));
    WriteWholeFile(folder.File("velkin.ini"), settings("-1"));
    player.Command(CommandCustom), player.Command(CommandCount);
    PumpUntil([] { return false; }, BalloonDelayMs);
    EXPECT_EQ("", ShownBalloon()) << "told again";
    // All keys free: nothing to tell.
    Icon(player.window, NIM_DELETE);
    SendMessageA(player.window, TaskbarCreated, 0, 0);
    holder.reset();
    player.Command(CommandCustom), player.Command(CommandCount);
    PumpUntil([] { return false; }, BalloonDelayMs);
    EXPECT_EQ("", ShownBalloon());
    EXPECT_FALSE(IsHotKeyFree(eject));

    // The end of the session may end the process without its exit: the
    // drive in use (written before the configuration program was looked
    // for) is written again when the session really ends.
    SendMessageA(player.window, WM_COMMAND, IDM_DRIVEBASE + 3, 0);
    SendMessageA(player.window, WM_QUERYENDSESSION, 0, 0);
    SendMessageA(player.window, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(settings("-1"), ReadWholeFile(folder.File("velkin.ini"))) << "the session goes on: the drive waits";
    SendMessageA(player.window, WM_QUERYENDSESSION, 0, 0);
    SendMessageA(player.window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(settings("3"), ReadWholeFile(folder.File("velkin.ini")));
    SendMessageA(player.window, WM_COMMAND, IDM_DEFAULTDRIVE, 0);

    // The exit writes the drive again and gives the mutex back, not left abandoned.
    PostMessageA(player.window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(0, player.process.WaitForExit());
    EXPECT_EQ(settings("-1"), ReadWholeFile(folder.File("velkin.ini")));
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
TEST(PlayerProcess, AfterTheConfigurationProgramEachKeyActsForItsCommandAloneAndTheDriveChosenStays)
{
    PlayerHarness player("1:00.00 1:00.00", 1);
    player.cd.InsertDisc('D', "1:00.00 1:00.00");
    CopyFileA((ProgramFolder() + "vlkcfg.exe").c_str(), player.folder.File("vlkcfg.exe").c_str(), FALSE);
    CopyText(player.app.modulePath, sizeof player.app.modulePath, player.folder.File("velkin.exe").c_str());
    HANDLE config = CreateMutexA(nullptr, FALSE, "VLKConfigMutex");
    PlayerApplication& app = player.app;
    app.hotKeys.RegisterHotKeys();

    // While the program ran, the file swapped Play and Stop and moved Eject
    // to J, which Load takes too: each key acts for its new command alone,
    // the old E and L no longer act, and the key that two commands share is
    // the player's own, not another program's.
    const int up = CommandTable[CommandPlay].defaultValue, down = CommandTable[CommandStop].defaultValue;
    const int e = CommandTable[CommandEject].defaultValue, l = CommandTable[CommandLoad].defaultValue;
    const int j = MakeHotKeyValue(7, 'J');
    WriteWholeFile(player.folder.File("velkin.ini"), "[HotKey]\r\nPlay=" + std::to_string(down) +
                                                         "\r\nStop=" + std::to_string(up) + "\r\nEject=" +
                                                         std::to_string(j) + "\r\nLoad=" + std::to_string(j) + "\r\n");
    app.LaunchConfigProgram();
    const int* keys = app.settings.hotKeys;
    ASSERT_TRUE(keys[CommandPlay] == down && keys[CommandStop] == up && keys[CommandLoad] == j) << "not read again";
    EXPECT_STREQ("登録できなかったショートカットキー:\n格納: Ctrl+Alt+Shift+J\n"
                 "「設定」の「ショートカットキー」で変更できます。",
                 app.hotKeyReport.text);
    EXPECT_TRUE(IsHotKeyFree(e) && IsHotKeyFree(l)) << "an old key still acts";
    // A key hangs on its command's index: freeing Play's id frees the old Stop key.
    EXPECT_FALSE(IsHotKeyFree(down));
    ASSERT_TRUE(UnregisterHotKey(app.window.hwnd, CommandPlay));
    EXPECT_TRUE(IsHotKeyFree(down));

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

    // The exit takes the icon away (a shell may keep one whose window lives on).
    app.AddTrayIcon();
    ASSERT_TRUE(Icon(app.window.hwnd, NIM_MODIFY));
    app.ExitInstance(0);
    EXPECT_FALSE(Icon(app.window.hwnd, NIM_MODIFY)) << "the icon stays after the exit";
}

// Another instance whose mutex this user may not open (it runs with more
// rights): both programs end at once with 0, as beside any other instance.
TEST(PlayerProcess, BothProgramsEndBesideAnInstanceTheyMayNotOpen)
{
    Installation folder;
    const std::pair<const char*, const char*> programs[] = {{"velkin.exe", PlayerMutexName},
                                                            {"vlkcfg.exe", "VLKConfigMutex"}};
    for (const auto& program : programs) {
        HANDLE running = CreateGuardedMutex(program.second, SystemOnly);
        ASSERT_TRUE(running && !OpenMutexA(SYNCHRONIZE, FALSE, program.second)) << "the mutex can be opened";
        EXPECT_EQ(0, RunProgram("\"" + folder.File(program.first) + "\"", 10000)) << program.first;
        CloseHandle(running);
    }
}

}  // namespace
