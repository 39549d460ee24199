#include "Scenario.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <prsht.h>

#include <algorithm>

namespace {

typedef std::vector<unsigned long> Starts;  // PlayedFrom

// Index of the last log line containing a text, or -1.
int LastLine(const std::vector<std::string>& log, const char* text)
{
    auto has = [&](const std::string& line) { return line.find(text) != std::string::npos; };
    return static_cast<int>(log.rend() - std::find_if(log.rbegin(), log.rend(), has)) - 1;
}

// The "Script: ..." line of an SSTP request.
std::string ScriptOf(const std::string& request)
{
    size_t at = request.find("\r\nScript: ");
    return at == std::string::npos ? std::string() : request.substr(at + 2, request.find("\r\n", at + 2) - at - 2);
}

// Whether the player asks the drive nothing for a while: no timer runs.
bool StaysQuiet(const VirtualCd& cd, DWORD ms)
{
    size_t lines = cd.LogLines().size();
    PumpUntil([] { return false; }, ms);
    return lines == cd.LogLines().size();
}

// Every play mode on a disc of three tracks of 20 seconds in the drive the
// player uses: turns the modes on, starts with a menu command, waits for
// some plays, stops and turns the modes off; checks where the first plays started.
void PlayInEveryMode(Player& player, VirtualCd& cd)
{
    auto run = [&](size_t count, int start, auto... modes) {
        cd.ClearLog();
        player.Menu(modes..., start);
        EXPECT_TRUE(WaitForPlays(cd, count)) << cd.Log();
        player.Menu(IDM_STOP, modes...);
        Starts played = PlayedFrom(cd);
        played.resize(count);
        return played;
    };
    EXPECT_EQ((Starts{2, 2, 2}), run(3, IDM_TRACKBASE + 2, IDM_REPEATONE));
    EXPECT_EQ((Starts{3, 1}), run(2, IDM_TRACKBASE + 3, IDM_REPEATALL));
    EXPECT_EQ((Starts{1, 2}), run(2, IDM_TRACKBASE + 1, IDM_INTRO));
    EXPECT_EQ(1u, cd.LogLines(" to=0x000A0001 ").size()) << "10 seconds of track 1: " << cd.Log();
    for (unsigned long track : run(4, IDM_NEXT, IDM_RANDOM))
        EXPECT_TRUE(track >= 1 && track <= 3) << track;
    // Random with repeat one: the chosen track again, and Next draws one
    // that then comes again.
    EXPECT_EQ((Starts{2, 2, 2}), run(3, IDM_TRACKBASE + 2, IDM_REPEATONE, IDM_RANDOM));
    Starts drawn = run(3, IDM_NEXT, IDM_REPEATONE, IDM_RANDOM);
    EXPECT_TRUE(drawn[0] >= 1 && drawn[0] <= 3) << drawn[0];
    EXPECT_EQ(Starts(3, drawn[0]), drawn);
}

// A first start without a settings file, a second start beside it, a real
// key press, and the menus and dialogs of a playing 24-track disc as the
// user sees them. Then another drive is chosen and the configuration
// program started from the player: the drive goes into the file before it
// starts and stays there through its OK and the player's exit; the key it
// gave Eject acts at once on that drive, where every play mode plays.
TEST(Scenario, FirstStartKeysMenusAndDialogsThenTheConfigurationProgramOnAnotherDrive)
{
    std::string tracks;
    std::vector<std::string> names;
    for (int i = 1; i <= 24; ++i) {
        tracks += (i > 1 ? " " : "") + std::string("4:00.00");
        names.push_back("夜明けの歌 " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    }
    VirtualCd cd;
    cd.SetSpeed(1);
    cd.InsertDisc('E', tracks);
    cd.SetLabel('E', "VELKIN-DEMO");
    Installation installation;
    WriteWholeFile(installation.File("cdplayer.ini"), DiscEntry(tracks, "夜明けの回路", "ヴェルキン", names));
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);
    EXPECT_FALSE(IsWindowVisible(player.window));
    EXPECT_TRUE(PlayedFrom(cd).empty()) << "PlayOnExec is off by default";
    EXPECT_TRUE(IsHotKeyTaken(VK_RIGHT)) << "the default keys";

    // A second start ends at once with 0 and leaves the first alone.
    size_t lines = cd.LogLines().size();
    EXPECT_EQ(0, RunProgram("\"" + installation.File("velkin.exe") + "\""));
    EXPECT_EQ(lines, cd.LogLines().size());
    EXPECT_TRUE(IsHotKeyTaken(VK_RIGHT));

    // Ctrl+Alt+Shift+Right on the keyboard while track 2 plays: track 3.
    player.Menu(IDM_TRACKBASE + 2);
    ASSERT_TRUE(PressKeys("ctrl+alt+shift+Right"));
    ASSERT_TRUE(WaitForPlays(cd, 2)) << cd.Log();
    EXPECT_EQ((Starts{2, 3}), PlayedFrom(cd));

    // Menus open at the pointer: it goes where the notification area is.
    SetCursorPos(1000, 740);
    player.Menu(IDM_REPEATALL, IDM_INTRO);  // ticked in the mode menu
    // Opens a menu or a dialog, saves its picture and closes it.
    auto show = [&](bool menu, UINT message, WPARAM wParam, LPARAM lParam, const char* picture) {
        SCOPED_TRACE(picture);
        PostMessageA(player.window, message, wParam, lParam);
        HWND shown = WaitForWindow(menu ? "#32768" : "#32770");
        EXPECT_NE(nullptr, shown);
        EXPECT_TRUE(Screenshot(picture));
        PostMessageA(menu ? player.window : shown, menu ? WM_CANCELMODE : WM_CLOSE, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(shown); }));
    };
    show(true, WM_APP, 0, WM_LBUTTONDOWN, "main-menu-playing");
    show(true, WM_APP, 0, WM_RBUTTONDOWN, "track-menu-two-columns");
    show(true, CommandMessage, 2, 0, "drive-menu");
    show(true, CommandMessage, 3, 0, "mode-menu");
    show(true, CommandMessage, 11, 0, "cd-information");
    show(false, CommandMessage, 12, 0, "volume-dialog");
    show(false, WM_COMMAND, IDM_ABOUT, 0, "version-dialog");
    show(false, WM_COMMAND, IDM_EDITTITLES, 0, "title-editor");
    player.Menu(IDM_STOP, IDM_REPEATALL, IDM_INTRO);

    // D: chosen (the key that ejects it later shows it open): nothing plays.
    cd.InsertDisc('D', "0:20.00 0:20.00 0:20.00");
    cd.ClearLog();
    player.Menu(IDM_DRIVEBASE + 3);
    EXPECT_TRUE(PlayedFrom(cd).empty()) << "choosing a drive starts nothing";
    ASSERT_FALSE(IsHotKeyTaken('J'));

    PostMessageA(player.window, CommandMessage, 10, 0);
    HWND sheet = WaitForWindow("#32770");
    ASSERT_NE(nullptr, sheet);
    Process config(sheet);
    EXPECT_EQ("[General]\r\nDrive=3\r\n", installation.Settings()) << "the drive alone, written before the start";
    // A second start ends at once; the first keeps its sheet.
    EXPECT_EQ(0, RunProgram("\"" + installation.File("vlkcfg.exe") + "\""));
    const char* pictures[] = {"config-general", "config-shortcut-keys", "config-sstp", "config-cddb"};
    HWND page = nullptr;
    for (int i : {0, 3, 2, 1}) {  // ends on the keys page
        Send(sheet, PSM_SETCURSEL, i);
        ASSERT_NE(nullptr, page = reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0)));
        EXPECT_TRUE(Screenshot(pictures[i]));
    }
    // Eject (the ninth in the command list 1000) gets Ctrl+Alt+Shift+J, as
    // clicks in the list and the key box 1001 give it.
    HWND list = GetDlgItem(page, 1000), combo = GetDlgItem(page, 1001);
    Send(list, LB_SETCURSEL, 8);
    Send(page, WM_COMMAND, MAKEWPARAM(1000, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    Send(combo, CB_SETCURSEL, Send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("J")));
    Send(page, WM_COMMAND, MAKEWPARAM(1001, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    PostMessageA(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(1, config.WaitForExit());

    // The player reads the settings again and takes the new key; the drive
    // stays beside every section the program wrote.
    EXPECT_TRUE(PumpUntil([] { return IsHotKeyTaken('J'); }, 10000));
    std::string saved = installation.Settings();
    for (const char* line : {"Drive=3\r\n", "Eject=458826\r\n", "IntroTime=10\r\n", "SstpPort=9801\r\n", "Lookup=0\r\n"})
        EXPECT_NE(std::string::npos, saved.find(line)) << line << " in\n" << saved;
    // The new key on the keyboard ejects the disc of drive D:, where every
    // play mode then plays.
    ASSERT_TRUE(PressKeys("ctrl+alt+shift+j"));
    EXPECT_TRUE(PumpUntil([&] { return cd.IsDoorOpen('D'); }));
    player.Command(9);
    cd.SetSpeed(100);
    PlayInEveryMode(player, cd);
    EXPECT_TRUE(cd.LogLines(" E PLAY ").empty()) << cd.Log();
    EXPECT_EQ(0, player.Exit());
    EXPECT_NE(std::string::npos, installation.Settings().find("Drive=3\r\n")) << installation.Settings();
    EXPECT_FALSE(IsHotKeyTaken(VK_RIGHT));
}

// Discs come and go, play and pause, eject and load, each track start told
// over SSTP, and a disc played through stops at its end: on a drive that
// reports each play's end, and on one that never does (as under Wine with a
// real drive), where the player finds each end itself, in every play mode too.
TEST(Scenario, DiscsComeAndGoPlayPauseAndEachTrackIsToldWhetherOrNotTheDriveReportsAPlaysEnd)
{
    const std::string titled = "0:20.00 0:20.00 0:20.00", title = "夜明けの回路", artist = "ヴェルキン・アンサンブル";
    VirtualCd cd;
    cd.SetSpeed(20);
    Installation installation;
    // "ソ" and "表" end in the byte of a backslash; "%" starts a variable.
    WriteWholeFile(installation.File("cdplayer.ini"),
                   DiscEntry(titled, title, artist, {"はじまりの音", "ソーダ水の表通り", "100% Live"}));
    SocketLibrary sockets;
    LoopbackListener sstp;
    const std::string settings = "[General]\r\nSoundOnInsert=0\r\n[SSTP]\r\nSendSstpMsg=1\r\nCheckSstpServer=0\r\n"
                                 "SstpServer=127.0.0.1\r\nSstpScript=Script: \\h\\s0$|#|&\\e\r\nSstpPort=";
    WriteWholeFile(installation.File("velkin.ini"), settings + std::to_string(sstp.Port()) + "\r\n");
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);

    // Without a disc, and with a data disc, nothing plays.
    player.Command(4, 7, 6, 4);
    SwapDisc(cd, 'E', "data/10:00.00");
    player.Command(4);
    EXPECT_TRUE(PlayedFrom(cd).empty()) << cd.Log();

    // A disc without titles swapped in plays at once, with the default names;
    // a disc put into another drive does not start it again.
    SwapDisc(cd, 'E', "10:00.00 10:00.00");
    ASSERT_TRUE(WaitForPlays(cd, 1)) << cd.Log();
    EXPECT_EQ("Script: \\h\\s0トラック 1|（アーティスト名なし）|（タイトルなし）\\e", ScriptOf(sstp.ReceiveAll()));
    SwapDisc(cd, 'D', "10:00.00");

    // Pause stops the drive; Play goes on where it stands: no seek, no notification.
    player.Command(4, 4);
    ASSERT_TRUE(WaitForPlays(cd, 2)) << cd.Log();
    std::vector<std::string> log = cd.LogLines();
    EXPECT_LT(LastLine(log, " SEEK "), LastLine(log, " STOP ")) << cd.Log();
    EXPECT_LT(LastLine(log, " STOP "), LastLine(log, " PLAY ")) << cd.Log();
    EXPECT_EQ("", sstp.ReceiveAll(300)) << "a resume is no new track";
    // Pause, then Next: on from the start of track 2, no longer paused, so
    // Play pauses it.
    player.Command(4, 7);
    EXPECT_NE(std::string::npos, cd.LogLines(" SEEK ").back().find(" to=0x00000002 ")) << cd.Log();
    player.Command(4);
    log = cd.LogLines();
    EXPECT_GT(LastLine(log, " STOP "), LastLine(log, " PLAY ")) << cd.Log();

    // Eject while it plays opens the door; Load closes it; neither plays.
    player.Command(4, 8);
    EXPECT_TRUE(cd.IsDoorOpen('E'));
    player.Command(9);
    EXPECT_FALSE(cd.IsDoorOpen('E'));
    EXPECT_EQ((Starts{1, 0, 0, 0}), PlayedFrom(cd)) << cd.Log();

    // The titled disc swapped in plays through, then Play again with the
    // drive silent: each track start told once, and after the last track
    // the player stops, rewound.
    cd.SetSpeed(100);
    const std::string tail = "|" + artist + "|" + title + "\\e";
    for (bool notifies : {true, false}) {
        SCOPED_TRACE(notifies ? "a drive that reports a play's end" : "a drive that never does");
        cd.SetEndNotify('E', notifies);
        cd.ClearLog();
        notifies ? SwapDisc(cd, 'E', titled) : player.Command(4);
        EXPECT_EQ("SEND SSTP/1.1\r\nSender: Velkinプレイヤー\r\nCharset: Shift_JIS\r\nScript: \\h\\s0はじまりの音" +
                      tail + "\r\n\r\n",
                  sstp.ReceiveAll(10000));
        EXPECT_EQ("Script: \\h\\s0ソーダ水の表通り" + tail, ScriptOf(sstp.ReceiveAll(10000)));
        EXPECT_EQ("Script: \\h\\s0100\\% Live" + tail, ScriptOf(sstp.ReceiveAll(10000)));
        EXPECT_TRUE(PumpUntil([&] {
            log = cd.LogLines();
            return LastLine(log, " SEEK ") > LastLine(log, " PLAY ");
        }, 10000)) << cd.Log();
        // Past the time in which the player would look for a lost
        // notification: no further play or message, and a stopped player
        // asks the drive nothing.
        EXPECT_EQ("", sstp.ReceiveAll(2500));
        EXPECT_TRUE(StaysQuiet(cd, 1500)) << cd.Log();
        EXPECT_EQ((Starts{1, 2, 3}), PlayedFrom(cd));
    }
    PlayInEveryMode(player, cd);
    EXPECT_EQ(0, player.Exit());
}

}  // namespace
