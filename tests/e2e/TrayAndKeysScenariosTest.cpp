#include "Scenario.h"

#include <gtest/gtest.h>

#include <stdio.h>

namespace {

std::string Tracks(int count, const char* length)
{
    std::string tracks;
    for (int i = 0; i < count; ++i)
        tracks += (i ? " " : "") + std::string(length);
    return tracks;
}

std::string DiscEntry(const std::string& tracks, int count)
{
    std::string text = "[" + DiscId(tracks) + "]\r\ntitle=夜明けの回路\r\nartist=ヴェルキン\r\n";
    for (int i = 0; i < count; ++i) {
        char line[64];
        snprintf(line, sizeof line, "%d=夜明けの歌 %02d\r\n", i, i + 1);
        text += line;
    }
    return text;
}

RECT MenuRect(HWND menu)
{
    RECT rect = {};
    GetWindowRect(menu, &rect);
    return rect;
}

HWND WaitForDialog(const Player& player)
{
    HWND dialog = nullptr;
    PumpUntil([&] {
        std::vector<HWND> dialogs = ProcessWindows(player.process.Id(), "#32770", true);
        dialog = dialogs.empty() ? nullptr : dialogs.front();
        return dialog != nullptr;
    }, 10000);
    return dialog;
}

TEST(KeyScenario, RealKeyPressOfNextWhileTrack2PlaysStartsTrack3)
{
    VirtualCd cd;
    cd.SetSpeed(1);
    cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00");
    Installation installation;
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);
    player.Menu(MenuTrackBase + 2);
    ASSERT_TRUE(WaitForPlays(cd, 1));

    ASSERT_TRUE(PressKeys("ctrl+alt+shift+Right"));
    ASSERT_TRUE(WaitForPlays(cd, 2)) << cd.Log();
    EXPECT_EQ(3, FromTrack(StartedPlays(cd)[1]));
    EXPECT_EQ(0, player.Exit());
}

// The menus and dialogs of a playing 24-track disc, as the user sees them.
TEST(TrayScenario, MenusAndDialogsOfAPlayingDiscWithTwentyFourTracks)
{
    const std::string long24 = Tracks(24, "4:00.00");
    const std::string short12 = Tracks(12, "3:00.00");
    VirtualCd cd;
    cd.SetSpeed(1);
    cd.InsertDisc('E', long24);
    cd.SetLabel('E', "VELKIN-DEMO");
    Installation installation;
    installation.WriteDiscDatabase(DiscEntry(long24, 24) + DiscEntry(short12, 12));
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);
    player.Menu(MenuTrackBase + 3);
    ASSERT_TRUE(WaitForPlays(cd, 1));
    // Menus open at the pointer: put it where the notification area is.
    SetCursorPos(1000, 740);

    player.ClickIcon(true);
    ASSERT_NE(nullptr, player.WaitForMenu());
    EXPECT_TRUE(Screenshot("main-menu-playing"));
    EXPECT_TRUE(player.CloseMenu());

    player.ClickIcon(false);
    HWND trackMenu = player.WaitForMenu();
    ASSERT_NE(nullptr, trackMenu);
    RECT twoColumns = MenuRect(trackMenu);
    EXPECT_TRUE(Screenshot("track-menu-two-columns"));
    EXPECT_TRUE(player.CloseMenu());

    player.PostCommand(2);
    EXPECT_NE(nullptr, player.WaitForMenu());
    EXPECT_TRUE(Screenshot("drive-menu"));
    EXPECT_TRUE(player.CloseMenu());

    player.Menu(MenuRepeatAll);
    player.Menu(MenuIntro);
    player.PostCommand(3);
    EXPECT_NE(nullptr, player.WaitForMenu());
    EXPECT_TRUE(Screenshot("mode-menu"));
    EXPECT_TRUE(player.CloseMenu());
    player.Menu(MenuRepeatAll);
    player.Menu(MenuIntro);

    player.PostCommand(11);
    EXPECT_NE(nullptr, player.WaitForMenu());
    EXPECT_TRUE(Screenshot("cd-information"));
    EXPECT_TRUE(player.CloseMenu());

    player.PostCommand(12);
    HWND volume = WaitForDialog(player);
    ASSERT_NE(nullptr, volume);
    EXPECT_TRUE(Screenshot("volume-dialog"));
    PostMessageA(volume, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(volume); }));

    player.PostMenu(MenuAbout);
    HWND about = WaitForDialog(player);
    ASSERT_NE(nullptr, about);
    EXPECT_TRUE(Screenshot("version-dialog"));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(about); }));

    // Against a 12-track disc: the 24 tracks stand in two columns of 12
    // below the same head rows, so the menu is as high and twice as wide.
    player.Menu(MenuStop);
    cd.InsertDisc('E', short12);
    player.ClickIcon(false);
    HWND oneColumnMenu = player.WaitForMenu();
    ASSERT_NE(nullptr, oneColumnMenu);
    RECT oneColumn = MenuRect(oneColumnMenu);
    EXPECT_TRUE(player.CloseMenu());
    EXPECT_EQ(oneColumn.bottom - oneColumn.top, twoColumns.bottom - twoColumns.top);
    EXPECT_GT(twoColumns.right - twoColumns.left, (oneColumn.right - oneColumn.left) * 9 / 5);
    EXPECT_EQ(0, player.Exit());
}

}  // namespace
