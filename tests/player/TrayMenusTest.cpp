#include "PlayerHarness.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

namespace {

std::string ItemText(HMENU menu, UINT item, UINT flag)
{
    char text[512] = "";
    GetMenuStringA(menu, item, text, sizeof text, flag);
    return text;
}

std::string TextAt(HMENU menu, int position)
{
    return ItemText(menu, position, MF_BYPOSITION);
}

bool IsGrayed(HMENU menu, UINT item, UINT flag = MF_BYCOMMAND)
{
    return (GetMenuState(menu, item, flag) & MF_GRAYED) != 0;
}

MENUITEMINFOA ItemInfo(HMENU menu, UINT item, bool byPosition = false)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS | MIIM_STATE | MIIM_TYPE | MIIM_ID;
    GetMenuItemInfoA(menu, item, byPosition, &info);
    return info;
}

// The grayed ones among Play, Stop, Back, Next, the track submenu, Eject,
// Load and CD information, as a string of 0 and 1 in that order.
std::string Grayed(PlayerHarness& player)
{
    HMENU menu = player.app.trayMenus.MainMenu();
    const UINT commands[] = {IDM_PLAY, IDM_STOP, IDM_BACK, IDM_NEXT, 0, IDM_EJECT, IDM_LOAD, IDM_CDINFO};
    std::string grayed;
    for (UINT command : commands) {
        bool gray = command ? IsGrayed(menu, command) : IsGrayed(menu, TrackMenuPosition, MF_BYPOSITION);
        grayed += gray ? '1' : '0';
    }
    return grayed;
}

TEST(TrayMenus, TheMenuResourceHoldsEveryItemInOrder)
{
    PlayerHarness player;
    player.Start();
    HMENU main = player.app.trayMenus.MainMenu();
    ASSERT_EQ(14, GetMenuItemCount(main));
    const UINT ids[] = {IDM_STATUS, IDM_TIME, 0, IDM_PLAY, IDM_STOP, 0, IDM_BACK, IDM_NEXT,
                        UINT(-1), 0, IDM_EJECT, IDM_LOAD, 0, UINT(-1)};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(ids[i], GetMenuItemID(main, i)) << "position " << i;
    EXPECT_EQ("トラックを指定(&T)", TextAt(main, 8));
    EXPECT_EQ("その他(&O)", TextAt(main, 13));

    HMENU other = GetSubMenu(main, OtherMenuPosition);
    const char* otherTexts[] = {"使用するドライブ(&D)", "演奏モード(&P)", "", "設定(&C)...", "CDの情報(&I)...", "",
                                "CDのボリューム(&V)...", "ボリューム コントロール(&O)",
                                "マルチメディアのプロパティ(M)", "", "終了(&X)", "バージョン情報(&A)"};
    ASSERT_EQ(12, GetMenuItemCount(other));
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(otherTexts[i], TextAt(other, i)) << "position " << i;
    HMENU modes = player.app.trayMenus.ModeMenu();
    ASSERT_EQ(5, GetMenuItemCount(modes));
    EXPECT_EQ("全曲リピート(&A)", TextAt(modes, 0));
    EXPECT_EQ(0u, GetMenuItemID(modes, 2));
    EXPECT_EQ("イントロ演奏(&I)", TextAt(modes, 4));

    // Item images unchecked, mode images checked.
    EXPECT_EQ(player.app.trayMenus.Bitmap(IDB_STOP), ItemInfo(main, IDM_STOP).hbmpUnchecked);
    EXPECT_EQ(nullptr, ItemInfo(main, IDM_STOP).hbmpChecked);
    EXPECT_EQ(player.app.trayMenus.Bitmap(IDB_ABOUT), ItemInfo(main, IDM_ABOUT).hbmpUnchecked);
    EXPECT_EQ(player.app.trayMenus.Bitmap(IDB_RANDOM), ItemInfo(main, IDM_RANDOM).hbmpChecked);
    EXPECT_EQ(nullptr, ItemInfo(main, IDM_RANDOM).hbmpUnchecked);
    for (HBITMAP bitmap : player.app.menuBitmaps) {
        BITMAP shape = {};
        ASSERT_TRUE(GetObjectA(bitmap, sizeof shape, &shape));
        EXPECT_EQ(11, shape.bmWidth);
        EXPECT_EQ(11, shape.bmHeight);
    }

    // A mode is checked while it is on.
    player.app.controller.OnCommand(IDM_INTRO);
    EXPECT_EQ(UINT(IntroPlay), player.app.playModes);
    EXPECT_TRUE(GetMenuState(modes, IDM_INTRO, MF_BYCOMMAND) & MF_CHECKED);
    player.app.controller.OnCommand(IDM_INTRO);
    EXPECT_EQ(0u, player.app.playModes);
    EXPECT_FALSE(GetMenuState(modes, IDM_INTRO, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(TrayMenus, StatusLinesAndGrayedItemsFollowTheDevice)
{
    PlayerHarness player;
    player.cd.SetSpeed(1);
    player.cd.InsertDisc('E', "3:00.00 4:32.00 3:00.00 3:00.00");
    player.Start();
    HMENU main = player.app.trayMenus.MainMenu();
    auto status = [&] { return TextAt(main, 0); };
    auto time = [&] { return TextAt(main, 1); };

    player.app.trayMenus.PrepareMainMenu();
    EXPECT_EQ("■停止しています", status());
    EXPECT_EQ("----／----", time());
    EXPECT_EQ("01110010", Grayed(player));
    EXPECT_EQ("再生(&P)", ItemText(main, IDM_PLAY, MF_BYCOMMAND));
    EXPECT_EQ(player.app.trayMenus.Bitmap(IDB_PLAY), ItemInfo(main, IDM_PLAY).hbmpUnchecked);
    // The lines replace the ones before; neither can be chosen.
    player.app.trayMenus.PrepareMainMenu();
    EXPECT_EQ(14, GetMenuItemCount(main));
    EXPECT_EQ(UINT(IDM_STATUS), GetMenuItemID(main, 0));
    EXPECT_EQ(UINT(IDM_TIME), GetMenuItemID(main, 1));
    EXPECT_TRUE(GetMenuState(main, 0, MF_BYPOSITION) & MF_DISABLED);
    EXPECT_TRUE(GetMenuState(main, 1, MF_BYPOSITION) & MF_HILITE);

    player.app.controller.SelectTrack(IDM_TRACKBASE + 2);
    player.app.trayMenus.PrepareMainMenu();
    EXPECT_EQ("▼トラック 2を再生中です", status());
    EXPECT_EQ(0u, time().find("0:0"));
    EXPECT_EQ(time().size() - strlen("／4:32"), time().find("／4:32"));
    EXPECT_EQ("00000010", Grayed(player));
    EXPECT_EQ("一時停止(&P)", ItemText(main, IDM_PLAY, MF_BYCOMMAND));
    EXPECT_EQ(player.app.trayMenus.Bitmap(IDB_PAUSE), ItemInfo(main, IDM_PLAY).hbmpUnchecked);

    player.cd.SetSpeed(20);
    ASSERT_TRUE(player.WaitFor([&] { return player.app.cdDevice.GetTrackElapsedSeconds() >= 5; }));
    player.cd.SetSpeed(1);
    player.app.controller.PlayPause();
    ASSERT_TRUE(player.app.paused);
    player.app.trayMenus.PrepareMainMenu();
    EXPECT_EQ("▽一時停止中です", status());
    EXPECT_NE("----／----", time());
    EXPECT_EQ("00110010", Grayed(player));
    EXPECT_TRUE(player.app.paused);
    EXPECT_EQ("再生(&P)", ItemText(main, IDM_PLAY, MF_BYCOMMAND));

    // A pause flag left over while the device is not stopped is dropped.
    player.app.cdDevice.Play(true);
    player.app.trayMenus.PrepareMainMenu();
    EXPECT_FALSE(player.app.paused);

    player.app.cdDevice.OpenDoor();
    player.app.trayMenus.PrepareMainMenu();
    EXPECT_EQ("◎CDをセットしてください", status());
    EXPECT_EQ("----／----", time());
    EXPECT_EQ("11111001", Grayed(player));
    HMENU other = GetSubMenu(main, OtherMenuPosition);
    EXPECT_FALSE(IsGrayed(other, IDM_CONFIG));
    EXPECT_FALSE(IsGrayed(other, IDM_EXIT));

    player.cd.InsertDisc('E', "data/10:00.00");
    player.app.trayMenus.PrepareMainMenu();
    EXPECT_EQ("◆音楽CDではありません", status());
    EXPECT_EQ("11111010", Grayed(player));

    player.app.controller.SelectDrive(IDM_DRIVEBASE + 25);  // no drive Z:
    player.app.trayMenus.PrepareMainMenu();
    EXPECT_EQ("×デバイスは使用中です", status());
    EXPECT_EQ("----／----", time());
    EXPECT_EQ("11111111", Grayed(player));
    EXPECT_EQ(14, GetMenuItemCount(main));
}

TEST(TrayMenus, TheTrackMenuWithoutAUsableDiscHoldsOneLine)
{
    PlayerHarness player;
    player.Start();
    HMENU tracks = player.app.trayMenus.TrackMenu();
    player.app.trayMenus.BuildTrackMenu(tracks);
    ASSERT_EQ(1, GetMenuItemCount(tracks));
    EXPECT_EQ("◎CDをセットしてください", TextAt(tracks, 0));
    UINT state = GetMenuState(tracks, 0, MF_BYPOSITION);
    EXPECT_TRUE(state & MF_DISABLED);
    EXPECT_EQ(0u, GetMenuItemID(tracks, 0));

    player.cd.InsertDisc('E', "data/10:00.00");
    player.app.trayMenus.BuildTrackMenu(tracks);
    ASSERT_EQ(1, GetMenuItemCount(tracks));
    EXPECT_EQ("◆音楽CDではありません", TextAt(tracks, 0));

    player.app.controller.SelectDrive(IDM_DRIVEBASE + 25);
    player.app.trayMenus.BuildTrackMenu(tracks);
    ASSERT_EQ(1, GetMenuItemCount(tracks));
    EXPECT_EQ("×デバイスは使用中です", TextAt(tracks, 0));
}

std::string Disc(int tracks)
{
    std::string text;
    for (int i = 0; i < tracks; ++i)
        text += i ? " 1:00.00" : "1:00.00";
    return text;
}

// Position of the column break in the track menu, or -1.
int BreakPosition(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (ItemInfo(menu, i, true).fType & MFT_MENUBARBREAK)
            return i;
    }
    return -1;
}

TEST(TrayMenus, TrackLabelsTitlesAndColumns)
{
    PlayerHarness player;
    player.cd.SetSpeed(1);
    player.cd.InsertDisc('E', Disc(12));
    player.Start();
    char discId[16];
    player.app.cdDevice.GetDiscId(discId, sizeof discId);
    ASSERT_NE('\0', discId[0]);
    WriteWholeFile(player.folder.File("cdplayer.ini"),
                   std::string("[") + discId + "]\r\ntitle=夜の表題\r\nartist=ソ連\r\n1=二曲目\r\n");

    HMENU tracks = player.app.trayMenus.TrackMenu();
    player.app.trayMenus.OnInitMenuPopup(tracks);
    ASSERT_EQ(3 + 12, GetMenuItemCount(tracks));
    EXPECT_EQ("夜の表題", TextAt(tracks, 0));
    EXPECT_EQ("ソ連", TextAt(tracks, 1));
    EXPECT_TRUE(GetMenuState(tracks, 1, MF_BYPOSITION) & MF_DISABLED);
    EXPECT_TRUE(GetMenuState(tracks, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(" &1 トラック 1", TextAt(tracks, 3));
    EXPECT_EQ(" &2 二曲目", TextAt(tracks, 4));
    EXPECT_EQ(" &9 トラック 9", TextAt(tracks, 11));
    EXPECT_EQ("1&0 トラック 10", TextAt(tracks, 12));
    EXPECT_EQ("1&2 トラック 12", TextAt(tracks, 14));
    EXPECT_EQ(UINT(IDM_TRACKBASE + 12), GetMenuItemID(tracks, 14));
    EXPECT_EQ(-1, BreakPosition(tracks));

    player.app.controller.SelectTrack(IDM_TRACKBASE + 11);
    player.app.trayMenus.BuildTrackMenu(tracks);
    MENUITEMINFOA playing = ItemInfo(tracks, IDM_TRACKBASE + 11);
    EXPECT_TRUE(playing.fState & MFS_CHECKED);
    EXPECT_EQ(player.app.trayMenus.Bitmap(IDB_TRACKCHECK), playing.hbmpChecked);
    EXPECT_EQ(nullptr, playing.hbmpUnchecked);
    EXPECT_FALSE(ItemInfo(tracks, IDM_TRACKBASE + 10).fState & MFS_CHECKED);
    player.app.controller.StopPlay();

    // A second column for 20 tracks and more, starting with two blank rows
    // and a separator.
    const int columns[][2] = {{19, -1}, {20, 10}, {21, 11}};
    for (const auto& column : columns) {
        player.cd.InsertDisc('E', Disc(column[0]));
        player.app.trayMenus.BuildTrackMenu(tracks);
        int expected = column[1] < 0 ? -1 : 3 + column[1];
        EXPECT_EQ(expected, BreakPosition(tracks)) << column[0] << " tracks";
        if (expected > 0) {
            EXPECT_EQ(UINT(IDM_TRACKBASE + column[1]), GetMenuItemID(tracks, expected - 1));
            EXPECT_EQ("", TextAt(tracks, expected + 1));
            EXPECT_TRUE(GetMenuState(tracks, expected + 2, MF_BYPOSITION) & MF_SEPARATOR);
            EXPECT_EQ(UINT(IDM_TRACKBASE + column[1] + 1), GetMenuItemID(tracks, expected + 3));
        }
    }
}

TEST(TrayMenus, ALongTrackNameIsCutBetweenCharacters)
{
    std::string name;
    for (int i = 0; i < 100; ++i)
        name += "表";  // two bytes each, the second one 0x5C
    for (int track : {5, 12}) {
        char label[128];
        FormatTrackLabel(track, name.c_str(), label, sizeof label);
        size_t length = strlen(label);
        EXPECT_LE(length, 127u);
        EXPECT_GE(length, 126u);
        const size_t prefix = 4;  // " &5 " or "1&2 "
        EXPECT_EQ(0u, (length - prefix) % 2) << "a double-byte character was cut";
        EXPECT_EQ(0, name.compare(0, length - prefix, label + prefix));
    }
}

TEST(TrayMenus, TheDriveMenuListsTheDrivesAndChecksTheOneInUse)
{
    PlayerHarness player;
    player.cd.InsertDisc('E', "1:00.00");
    player.cd.SetLabel('E', "MYDISC");
    player.Start();
    HMENU drives = player.app.trayMenus.DriveMenu();

    player.app.trayMenus.OnInitMenuPopup(drives);
    ASSERT_EQ(3, GetMenuItemCount(drives));
    EXPECT_EQ("デフォルト(&/)", TextAt(drives, 0));
    EXPECT_EQ("&D:", TextAt(drives, 1));
    // Wine may keep the label it read when its session started.
    char label[16] = "";
    if (GetVolumeInformationA("E:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0) && label[0])
        EXPECT_EQ(std::string("&E:  (") + label + ")", TextAt(drives, 2));
    else
        EXPECT_EQ("&E:", TextAt(drives, 2));
    EXPECT_EQ(UINT(IDM_DEFAULTDRIVE), GetMenuItemID(drives, 0));
    EXPECT_EQ(UINT(IDM_DRIVEBASE + 3), GetMenuItemID(drives, 1));
    EXPECT_EQ(UINT(IDM_DRIVEBASE + 4), GetMenuItemID(drives, 2));
    EXPECT_TRUE(ItemInfo(drives, 0, true).fState & MFS_CHECKED);
    MENUITEMINFOA e = ItemInfo(drives, 2, true);
    EXPECT_FALSE(e.fState & MFS_CHECKED);
    EXPECT_EQ(player.app.trayMenus.Bitmap(IDB_DRIVE), e.hbmpUnchecked);
    EXPECT_EQ(player.app.trayMenus.Bitmap(IDB_DRIVECHECK), e.hbmpChecked);

    player.app.controller.OnCommand(IDM_DRIVEBASE + 4);
    player.app.trayMenus.PrepareMainMenu();  // rebuilds the drive menu too
    ASSERT_EQ(3, GetMenuItemCount(drives));
    EXPECT_FALSE(ItemInfo(drives, 0, true).fState & MFS_CHECKED);
    EXPECT_TRUE(ItemInfo(drives, 2, true).fState & MFS_CHECKED);
}

}  // namespace
