#include "CdInfoMenu.h"
#include "PlayerHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>

namespace {

bool IsChecked(HMENU menu, UINT item, bool byPosition = false)
{
    return (MenuItem(menu, item, byPosition).fState & MFS_CHECKED) != 0;
}

// The CD information as MenuOutline gives it; every row but the separators
// can be neither chosen nor grayed.
std::string Information(CdAudioDevice& device)
{
    HMENU menu = BuildCdInfoMenu(device);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        EXPECT_TRUE((state & MF_SEPARATOR) || (state & (MF_DISABLED | MF_GRAYED)) == MF_DISABLED) << i;
    }
    std::string outline = MenuOutline(menu);
    DestroyMenu(menu);
    return outline;
}

// A disc of 4:00 tracks but track 5 of 3:27.
std::string Disc(int tracks)
{
    std::string text;
    for (int i = 1; i <= tracks; ++i)
        text += i == 5 ? "3:27.40 " : "4:00.00 ";
    return text;
}

TEST(TrayMenus, TheMenusAsTheUserSeesThemFollowingTheDeviceAndTheDisc)
{
    PlayerHarness player(Disc(12), 1);
    player.cd.SetLabel('E', "R&B");
    TrayMenus& menus = player.app.trayMenus;
    HMENU main = menus.MainMenu();
    EXPECT_EQ("状態表示;時間表示;-;再生(&P);停止(&S);-;前のトラック(&B);次のトラック(&N);トラックを指定(&T);-;"
              "取り出し(&E);格納(&L);-;その他(&O)",
              MenuOutline(main));
    EXPECT_EQ("使用するドライブ(&D);演奏モード(&P);-;設定(&C)...;CDの情報(&I)...;タイトルの編集(&T)...;-;"
              "CDのボリューム(&V)...;"
              "ボリューム コントロール(&O);マルチメディアのプロパティ(M);-;終了(&X);バージョン情報(&A)",
              MenuOutline(GetSubMenu(main, OtherMenuPosition)));
    HMENU modes = menus.ModeMenu();
    EXPECT_EQ("全曲リピート(&A);単曲リピート(&S);-;ランダム演奏(&R);イントロ演奏(&I)", MenuOutline(modes));

    player.app.controller.OnCommand(IDM_INTRO);
    EXPECT_TRUE(IsChecked(modes, IDM_INTRO));

    HMENU drives = menus.DriveMenu();
    menus.OnInitMenuPopup(drives);
    // The "&" of the label shows as written: the menu holds it doubled.
    EXPECT_EQ("デフォルト(&/);&D:;&E:  (R&&B)", MenuOutline(drives));
    EXPECT_TRUE(IsChecked(drives, 0, true));
    EXPECT_TRUE(MenuItem(drives, 2, true).hbmpUnchecked == menus.Bitmap(IDB_DRIVE) &&
                MenuItem(drives, 2, true).hbmpChecked == menus.Bitmap(IDB_DRIVECHECK));
    player.app.controller.OnCommand(IDM_DRIVEBASE + 4);
    menus.PrepareMainMenu();  // rebuilds the drive menu too
    EXPECT_TRUE(!IsChecked(drives, 0, true) && IsChecked(drives, 2, true));

    char discId[16];
    player.app.cdDevice.GetDiscId(discId, sizeof discId);
    std::string name;  // too long for a label, in characters whose second byte is 0x5C
    for (int i = 0; i < 61; ++i)
        name += "表";
    WriteWholeFile(player.folder.File("cdplayer.ini"), std::string("[") + discId +
                   "]\r\ntitle=夜の&表題\r\nartist=ソ&連\r\n1=二曲&目\r\n9=&\r\n11=" + name + "&" + name + "\r\n");

    HMENU tracks = menus.TrackMenu();
    menus.OnInitMenuPopup(tracks);
    // Every "&" of the titles shows as written (doubled in the menu), and the
    // track number keeps its mnemonic. A label holds at most 127 bytes, cut
    // between characters and never inside a doubled "&".
    EXPECT_EQ("夜の&&表題;ソ&&連;-; &1 トラック 1; &2 二曲&&目; &3 トラック 3; &4 トラック 4; &5 トラック 5; &6 トラック 6;"
              " &7 トラック 7; &8 トラック 8; &9 トラック 9;1&0 &&;1&1 トラック 11;1&2 " + name,
              MenuOutline(tracks));
    player.app.controller.SelectTrack(IDM_TRACKBASE + 11);
    menus.BuildTrackMenu(tracks);
    EXPECT_TRUE(IsChecked(tracks, IDM_TRACKBASE + 11) && !IsChecked(tracks, IDM_TRACKBASE + 10));
    EXPECT_EQ(menus.Bitmap(IDB_TRACKCHECK), MenuItem(tracks, IDM_TRACKBASE + 11).hbmpChecked);
    player.app.controller.StopPlay();

    // The status and time lines; the grayed ones among Play, Stop, Back, Next,
    // the track submenu, Eject, Load and CD information as 0 and 1; Play's text.
    auto prepared = [&] {
        menus.PrepareMainMenu();
        std::string menu = MenuText(main, 0) + " " + MenuText(main, 1) + " ";
        if (menu.find(" 0:0") != std::string::npos)  // while a track plays: the seconds as x
            menu[menu.find(" 0:0") + 4] = 'x';
        for (UINT id : {IDM_PLAY, IDM_STOP, IDM_BACK, IDM_NEXT, 0, IDM_EJECT, IDM_LOAD, IDM_CDINFO})
            menu += GetMenuState(main, id ? id : TrackMenuPosition, id ? MF_BYCOMMAND : MF_BYPOSITION) & MF_GRAYED ? '1' : '0';
        return menu + " " + MenuText(main, IDM_PLAY, MF_BYCOMMAND);
    };

    EXPECT_EQ("■停止しています ----／---- 01110010 再生(&P)", prepared());
    player.app.controller.SelectTrack(IDM_TRACKBASE + 2);
    EXPECT_EQ("▼トラック 2を再生中です 0:0x／4:00 00000010 一時停止(&P)", prepared());
    EXPECT_EQ(menus.Bitmap(IDB_PAUSE), MenuItem(main, IDM_PLAY).hbmpUnchecked);
    player.app.controller.PlayPause();
    EXPECT_EQ("▽一時停止中です 0:0x／4:00 00110010 再生(&P)", prepared());

    // Without a playable disc the track menu and the CD information hold the status as their one line.
    player.app.cdDevice.OpenDoor();
    EXPECT_EQ("◎CDをセットしてください ----／---- 11111001 再生(&P)", prepared());
    menus.BuildTrackMenu(tracks);
    EXPECT_EQ("◎CDをセットしてください◎CDをセットしてください", MenuOutline(tracks) + Information(player.app.cdDevice));
    player.cd.InsertDisc('E', "data/10:00.00");
    EXPECT_EQ("◆音楽CDではありません ----／---- 11111010 再生(&P)", prepared());
    player.app.controller.SelectDrive(IDM_DRIVEBASE + 25);  // no drive Z:
    EXPECT_EQ("×デバイスは使用中です ----／---- 11111111 再生(&P)", prepared());
    menus.BuildTrackMenu(tracks);
    EXPECT_EQ("×デバイスは使用中です×デバイスは使用中です", MenuOutline(tracks) + Information(player.app.cdDevice));
    // The lines replace the ones before; neither can be chosen.
    EXPECT_EQ(14, GetMenuItemCount(main));
    EXPECT_TRUE(GetMenuState(main, 0, MF_BYPOSITION) & GetMenuState(main, 1, MF_BYPOSITION) & MF_DISABLED);

    // Back on E:. The CD information: six rows about the disc, then a row for
    // each track. Both menus open a second column from 20 tracks on, after half of them.
    player.app.controller.SelectDrive(IDM_DRIVEBASE + 4);
    const struct { int tracks; const char *total, *trackBreak, *informationBreak; } cases[] = {
        {12, "47:27", "", ""}, {19, "1:15:27", "", ""},
        {20, "1:19:27", "1&0 トラック 10;*;;-;1&1 トラック 11", ";トラック10:  4:00;*;;;;-;;トラック11:  4:00;"},
        {21, "1:23:27", "1&1 トラック 11;*;;-;1&2 トラック 12", ";トラック11:  4:00;*;;;;-;;トラック12:  4:00;"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tracks);
        player.cd.InsertDisc('E', Disc(c.tracks));
        menus.BuildTrackMenu(tracks);
        std::string outline = MenuOutline(tracks), information = Information(player.app.cdDevice);
        int columns = c.trackBreak[0] ? 2 : 1;
        EXPECT_EQ(columns - 1, std::count(outline.begin(), outline.end(), '*')) << outline;
        EXPECT_NE(std::string::npos, outline.find(c.trackBreak)) << outline;
        player.app.cdDevice.GetDiscId(discId, sizeof discId);
        std::string head = std::string("ID: ") + discId + ";UPC: （なし）;トラック数: " + std::to_string(c.tracks) +
                           ";総演奏時間: " + c.total + ";-;《各トラックの長さ》;トラック 1:  4:00;";
        EXPECT_EQ(0u, information.find(head)) << information;
        EXPECT_NE(std::string::npos, information.find(";トラック 5:  3:27;トラック 6:  4:00;")) << information;
        EXPECT_EQ(columns - 1, std::count(information.begin(), information.end(), '*')) << information;
        EXPECT_NE(std::string::npos, information.find(c.informationBreak)) << information;
        EXPECT_EQ(6 * columns + c.tracks, std::count(information.begin(), information.end(), ';') + 1);
    }
}


// The volume dialog with the auxiliary device replaced by a variable.
class FakeVolumeDialog : public VolumeDialog {
public:
    DWORD ReadVolume() override { return volume; }
    void WriteVolume(DWORD value) override { volume = value; }
    DWORD volume = MAKELONG(32767, 65535);  // the left channel is the one shown
};

TEST(PlayerDialogs, VolumeAndVersionDialogsAsTheCommandsOpenThemAndTheirKeysThroughTheLoop)
{
    // At the pointer, the slider showing the left channel and setting both; the
    // keyboard moves a trackbar as a drag does.
    FakeVolumeDialog fake;
    fake.SetTemplate(IDD_VOLUME, nullptr);
    ASSERT_TRUE(SetCursorPos(100, 120) && LoadTrackbarClass() && fake.CreateModeless());
    RECT rect = {};
    GetWindowRect(fake.hwnd, &rect);
    EXPECT_TRUE(rect.left == 100 && rect.top == 120) << rect.left << "," << rect.top;
    EXPECT_EQ("49%", ItemText(fake.hwnd, IDC_VOLUMELABEL));
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(32767, 65535)), fake.volume);  // opening changes nothing
    SendMessageA(GetDlgItem(fake.hwnd, IDC_VOLUMESLIDER), WM_KEYDOWN, VK_NEXT, 0);  // a page of 6554 quieter
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(26213, 26213)), fake.volume);
    EXPECT_EQ("39%", ItemText(fake.hwnd, IDC_VOLUMELABEL));
    EXPECT_EQ(100, VolumePercent(65535));
    fake.Destroy();

    // A second command replaces the dialog. Near the work area's bottom right
    // corner it ends flush with both edges.
    PlayerHarness player;
    PlayerApplication& app = player.app;
    app.volumeDialog.SetTemplate(IDD_VOLUME, nullptr);
    app.aboutDialog.SetTemplate(IDD_ABOUT, nullptr);
    app.ShowVolumeDialog();
    HWND first = app.volumeDialog.hwnd;
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    ASSERT_TRUE(SetCursorPos(area.right - 3, area.bottom - 2));
    app.ShowVolumeDialog();
    HWND volume = app.volumeDialog.hwnd;
    EXPECT_FALSE(IsWindow(first));
    GetWindowRect(volume, &rect);
    EXPECT_TRUE(rect.right == area.right && rect.bottom == area.bottom) << rect.right << "," << rect.bottom;

    app.ShowAboutDialog();
    HWND about = app.aboutDialog.hwnd;
    GetWindowRect(about, &rect);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - rect.right + rect.left) / 2, rect.left) << "centred on the screen";
    EXPECT_EQ("Velkinプレイヤー", ItemText(about, IDC_PRODUCTNAME));
    EXPECT_EQ(std::string("2.01  (Build: ") + BuildDate + " " + BuildTime + ")", ItemText(about, IDC_VERSION));
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    app.ShowAboutDialog();
    EXPECT_EQ(about, app.aboutDialog.hwnd);
    EXPECT_EQ(about, GetWindow(other, GW_HWNDPREV)) << "not brought above the window made after it";
    DestroyWindow(other);

    // The dialogs' keys go through the application's own message loop.
    player.Press(GetDlgItem(volume, IDC_VOLUMESLIDER), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(volume));
    EXPECT_TRUE(IsWindow(about));
    player.Press(GetDlgItem(about, IDOK), VK_RETURN);
    EXPECT_FALSE(IsWindow(about));
}

}  // namespace
