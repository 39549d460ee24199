#include "Scenario.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <prsht.h>

namespace {

// The drive chosen in the player goes into the settings file before the
// configuration program starts, stays there through its OK beside every key
// it writes, and again at the player's exit.
TEST(ConfigScenario, StartedFromThePlayerKeepsTheDriveAndAddsTheNewHotKey)
{
    VirtualCd cd;
    cd.InsertDisc('D', "1:00.00 1:00.00");
    cd.InsertDisc('E', "2:00.00");
    Installation installation;
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);
    cd.ClearLog();
    player.Menu(MenuDriveBase + 3);  // D:
    EXPECT_FALSE(cd.LogLines(" D OPEN ").empty()) << cd.Log();
    EXPECT_TRUE(PlayedFrom(cd).empty()) << "choosing a drive starts nothing";
    ASSERT_FALSE(IsHotKeyTaken('J'));

    PostMessageA(player.window, CommandMessage, 10, 0);
    HWND sheet = WaitForWindow("#32770", 0);
    ASSERT_NE(nullptr, sheet);
    Process config(sheet);
    EXPECT_NE(std::string::npos, installation.Settings().find("Drive=3\r\n")) << "written before the start";
    // A second start ends at once; the first keeps its sheet.
    EXPECT_EQ(0, RunProgram("\"" + installation.File("vlkcfg.exe") + "\""));
    const char* pictures[] = {"config-general", "config-shortcut-keys", "config-sstp"};
    for (int i = 0; i < 3; ++i) {
        Send(sheet, PSM_SETCURSEL, i);
        ASSERT_NE(0, Send(sheet, PSM_GETCURRENTPAGEHWND, 0));
        EXPECT_TRUE(Screenshot(pictures[i]));
    }
    // Eject (the ninth in the list) gets Ctrl+Alt+Shift+J, as clicks in the list and the key box give it.
    Send(sheet, PSM_SETCURSEL, 1);
    HWND page = reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0));
    HWND list = GetDlgItem(page, 1000), combo = GetDlgItem(page, 1001);
    Send(list, LB_SETCURSEL, 8);
    Send(page, WM_COMMAND, MAKEWPARAM(1000, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    Send(combo, CB_SETCURSEL, Send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("J")));
    Send(page, WM_COMMAND, MAKEWPARAM(1001, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    PostMessageA(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(1, config.WaitForExit());

    // The player reads the settings again and takes the new key.
    EXPECT_TRUE(PumpUntil([] { return IsHotKeyTaken('J'); }, 10000));
    std::string saved = installation.Settings();
    for (const char* line :
         {"PlayOnExec=0\r\n", "PlayOnInsert=1\r\n", "SoundOnInsert=1\r\n", "SoundFile=", "IntroTime=10\r\n",
          "SendSstpMsg=0\r\n", "CheckSstpServer=1\r\n", "SstpServer=localhost\r\n", "SstpPort=9801\r\n",
          "SstpScript=Script: \\h\\s0「$」を演奏するよっ。", "MainMenu=458765\r\n", "TrackMenu=458784\r\n",
          "DriveMenu=458845\r\n", "ModeMenu=458760\r\n", "Play=458790\r\n", "Stop=458792\r\n", "Back=458789\r\n",
          "Next=458791\r\n", "Eject=458826\r\n", "Load=458828\r\n", "Custom=458819\r\n", "Info=458825\r\n",
          "Volume=458838\r\n", "VolCtrl=458831\r\n", "PropMM=458829\r\n", "Drive=3\r\n"})
        EXPECT_NE(std::string::npos, saved.find(line)) << line << " in\n" << saved;
    // The new key on the keyboard ejects the disc of drive D:.
    ASSERT_TRUE(PressKeys("ctrl+alt+shift+j"));
    EXPECT_TRUE(PumpUntil([&] { return cd.IsDoorOpen('D'); }));
    player.Command(9);
    cd.ClearLog();
    player.Command(4);
    EXPECT_EQ(1u, PlayedFrom(cd).size()) << cd.Log();
    EXPECT_EQ(1u, cd.LogLines(" D PLAY ").size()) << cd.Log();
    EXPECT_EQ(0, player.Exit());
    EXPECT_NE(std::string::npos, installation.Settings().find("Drive=3\r\n")) << installation.Settings();
}

}  // namespace
