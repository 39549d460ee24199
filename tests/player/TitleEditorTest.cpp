#include "LoopbackListener.h"
#include "PlayerHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// The list's name column of a row.
std::string RowName(HWND list, int row)
{
    char text[2048] = "";
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// Tracks 1 and 3 named in the Windows folder's file, next to keys of another
// CD player; the file beside the program knows only other discs.
TEST(TitleEditor, OpensWithTheShownTitlesReachesEveryTrackAndOkWritesWhatMenusAndSstpShowAtOnce)
{
    std::string tracks;
    for (int i = 0; i < 99; ++i)
        tracks += "0:30.00 ";
    PlayerHarness player(tracks, 1);
    PlayerApplication& app = player.app;
    app.titleEditor.SetTemplate(IDD_TITLEEDITOR, nullptr);
    char discId[16];
    app.cdDevice.GetDiscId(discId, sizeof discId);
    const std::string own = player.folder.File("cdplayer.ini"), windows = player.folder.File("windows-cdplayer.ini");
    WriteWholeFile(own, "[1234]\r\ntitle=別の盤\r\n");
    WriteWholeFile(windows, std::string("[") + discId + "]\r\nEntryType=1\r\ntitle=窓の題\r\nartist=窓の人\r\n"
                            "0=一曲目\r\n2=三曲目\r\nnumplay=7\r\n");

    // The item is for a disc in the drive.
    TrayMenus& menus = app.trayMenus;
    menus.PrepareMainMenu();
    HMENU other = GetSubMenu(menus.MainMenu(), OtherMenuPosition);
    EXPECT_FALSE(GetMenuState(other, IDM_EDITTITLES, MF_BYCOMMAND) & MF_GRAYED);

    // Opened while track 3 plays: that track is chosen, the texts are the menus'.
    app.controller.SelectTrack(IDM_TRACKBASE + 3);
    app.controller.OnCommand(IDM_EDITTITLES);
    HWND editor = app.titleEditor.hwnd;
    ASSERT_TRUE(IsWindow(editor));
    HWND list = GetDlgItem(editor, IDC_TRACKLIST), name = GetDlgItem(editor, IDC_TRACKNAME);
    EXPECT_EQ("窓の題|窓の人|ID: " + std::string(discId),
              ItemText(editor, IDC_DISCTITLE) + "|" + ItemText(editor, IDC_DISCARTIST) + "|" + ItemText(editor, IDC_DISCID));
    EXPECT_EQ("一曲目|トラック 2|三曲目|トラック 99", RowName(list, 0) + "|" + RowName(list, 1) + "|" +
                                                    RowName(list, 2) + "|" + RowName(list, 98));
    EXPECT_EQ(2, ListView_GetNextItem(list, -1, LVNI_SELECTED));
    EXPECT_EQ("三曲目", ItemText(editor, IDC_TRACKNAME));

    // Every track can be scrolled to.
    SendMessageA(list, LVM_ENSUREVISIBLE, 98, FALSE);
    RECT row = {LVIR_BOUNDS, 0, 0, 0}, client = {};
    SendMessageA(list, LVM_GETITEMRECT, 98, reinterpret_cast<LPARAM>(&row));
    GetClientRect(list, &client);
    EXPECT_TRUE(SendMessageA(list, LVM_GETTOPINDEX, 0, 0) > 0 && row.top >= 0 && row.bottom <= client.bottom);

    // Typed names go into the list; Down in the name field goes to the next
    // track; the keys take the way of the player's message loop.
    SetWindowTextA(name, "みっつめ");
    EXPECT_EQ("みっつめ", RowName(list, 2));
    player.Press(name, VK_DOWN);
    EXPECT_EQ(3, ListView_GetNextItem(list, -1, LVNI_SELECTED));
    EXPECT_EQ("トラック 4", ItemText(editor, IDC_TRACKNAME));
    SetWindowTextA(name, "");  // no name: the default again
    // A name in quotes reads back as typed; a paste that would make it longer
    // than the file keeps (600 characters are 1200 bytes) is refused.
    SetWindowTextA(GetDlgItem(editor, IDC_DISCTITLE), "\"新しい題\"");
    std::string pasted;
    for (int i = 0; i < 600; ++i)
        pasted += "曲";
    SendDlgItemMessageA(editor, IDC_DISCTITLE, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
    EXPECT_EQ("\"新しい題\"", ItemText(editor, IDC_DISCTITLE));
    SendMessageA(list, LVM_ENSUREVISIBLE, 98, FALSE);
    ListView_SetItemState(list, 98, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetWindowTextA(name, " 最後の曲 ");

    // Enter is OK: the entry is written where it was found, the other keys kept.
    player.Press(GetDlgItem(editor, IDC_DISCTITLE), VK_RETURN);
    EXPECT_FALSE(IsWindow(editor));
    const std::string written = ReadWholeFile(windows);
    for (std::string line : {"EntryType=1", "title=\"\"新しい題\"\"", "artist=窓の人", "0=一曲目", "2=みっつめ",
                             "numplay=7", "numtracks=99", "98=\" 最後の曲 \""})
        EXPECT_NE(std::string::npos, written.find("\r\n" + line + "\r\n")) << line << " in\n" << written;
    EXPECT_EQ(std::string::npos, written.find("\r\n1=")) << "a name not changed is written" << written;
    EXPECT_EQ("[1234]\r\ntitle=別の盤\r\n", ReadWholeFile(own));

    // At once in the track menu, and in the notification of the next track.
    EXPECT_EQ(0u, player.TrackMenu().find("\"新しい題\";窓の人;-; &1 一曲目; &2 トラック 2; &3 みっつめ; &4 トラック 4;"));
    SocketLibrary sockets;
    LoopbackListener sstp;
    player.SendSstpTo(sstp.Port(), "Script: $|#|&");
    app.controller.NextTrack();
    std::string request = sstp.ReceiveAll();
    EXPECT_NE(std::string::npos, request.find("\r\nScript: トラック 4|窓の人|\"新しい題\"\r\n")) << request;

    // Opened again it shows what was written; Esc closes it and writes nothing.
    app.controller.OnCommand(IDM_EDITTITLES);
    editor = app.titleEditor.hwnd;
    EXPECT_EQ("\"新しい題\"| 最後の曲 ", ItemText(editor, IDC_DISCTITLE) + "|" + RowName(GetDlgItem(editor, IDC_TRACKLIST), 98));
    SetWindowTextA(GetDlgItem(editor, IDC_DISCTITLE), "捨てる題");
    player.Press(GetDlgItem(editor, IDC_TRACKLIST), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(written, ReadWholeFile(windows));

    // A disc that no file knows, and no file that can be written: the user is
    // told, and the editor stays open with what was typed.
    const std::string blocked = player.folder.File("blocked");
    ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
    app.DiscDatabase.SetPaths(blocked.c_str(), windows.c_str());
    app.controller.StopPlay();
    player.cd.InsertDisc('E', "3:00.00 4:00.00");
    app.controller.OnCommand(IDM_EDITTITLES);
    editor = app.titleEditor.hwnd;
    EXPECT_EQ("（タイトルなし）|トラック 2", ItemText(editor, IDC_DISCTITLE) + "|" +
                                            RowName(GetDlgItem(editor, IDC_TRACKLIST), 1));
    SetWindowTextA(GetDlgItem(editor, IDC_DISCTITLE), "書けない題");
    std::string box;
    DialogAnswer::PlayerBox(box);
    SendMessageA(editor, WM_COMMAND, IDOK, 0);
    EXPECT_EQ("タイトルを書き込めませんでした。\n" + blocked + "\n\nタイトルは保存されていません。", box);
    EXPECT_TRUE(IsWindow(editor));
    EXPECT_EQ("書けない題", ItemText(editor, IDC_DISCTITLE));
    app.titleEditor.Destroy();
    RemoveDirectoryA(blocked.c_str());

    // Without a disc there is nothing to name.
    app.cdDevice.OpenDoor();
    menus.PrepareMainMenu();
    EXPECT_TRUE(GetMenuState(other, IDM_EDITTITLES, MF_BYCOMMAND) & MF_GRAYED);
    app.controller.OnCommand(IDM_EDITTITLES);
    EXPECT_FALSE(IsWindow(app.titleEditor.hwnd));
}

}  // namespace
