#include "CddbTestServer.h"
#include "PlayerHarness.h"

#include <gtest/gtest.h>

namespace {

const char ReadBody[] =
    u8"210 rock 0f034803 CD database entry follows (until terminating `.')\r\n# xmcd\r\nDISCID=0f034803\r\n"
    u8"DTITLE=ヴェルキン / 夜明けの回路\r\nTTITLE0=はじまり\r\nTTITLE1=青い\r\nTTITLE1=信号\r\nTTITLE2=\r\n.\r\n";
const char Untitled[] = "（タイトルなし）;（アーティスト名なし）;-; &1 トラック 1; &2 トラック 2; &3 トラック 3";
const char Titled[] = "夜明けの回路;ヴェルキン;-; &1 はじまり; &2 青い信号; &3 トラック 3";

// A player on the virtual drive whose disc no cdplayer.ini knows, with the
// lookup on and a CDDB server of its own.
struct LookupPlayer : PlayerHarness {
    LookupPlayer() : PlayerHarness("5:00.00 5:00.00 4:00.00", 100)  // CDDB disc ID 0f034803
    {
        cd.SetShortLastTrack(true);
        app.settings.CddbLookup = 1;
        CopyText(app.settings.CddbServer, sizeof app.settings.CddbServer, "127.0.0.1");
        app.settings.CddbPort = static_cast<unsigned short>(server.Port());
        app.cdDevice.GetDiscId(discId, sizeof discId);
    }
    // Handles messages until the lookup's answer has been taken.
    bool Answered() { return PumpUntil([&] { return !app.discLookup.Waiting(); }, 15000); }
    std::string Entry() const { return ReadWholeFile(folder.File("cdplayer.ini")); }

    CddbTestServer server;
    char discId[16];
};

TEST(DiscLookup, AFailedLookupChangesNothingIsAskedAgainOnlyWhenADiscArrivesAndUnwritableTitlesStayForTheRun)
{
    LookupPlayer player;
    player.server.Answer("cddb query", "202 No match for disc ID 0f034803.\r\n");
    player.app.discLookup.LookUpDiscInDrive();
    ASSERT_TRUE(player.Answered());
    player.app.controller.SelectDrive(IDM_DEFAULTDRIVE);  // the same disc again
    EXPECT_FALSE(player.app.discLookup.Waiting());
    EXPECT_EQ(1u, player.server.Requests().size());
    EXPECT_EQ("", player.Entry());
    EXPECT_EQ(Untitled, player.TrackMenu());

    // Another volume's arrival is not the disc's; the disc's own asks again.
    // Then an answer that comes after the disc has gone.
    player.VolumeEvent(DBT_DEVICEARRIVAL, 'F');
    EXPECT_FALSE(player.app.discLookup.Waiting());
    player.VolumeEvent(DBT_DEVICEARRIVAL, 'E');
    ASSERT_TRUE(player.Answered());
    EXPECT_EQ(2u, player.server.Requests().size());

    player.server.Clear();
    player.server.AnswerRaw({"cddb query", CddbTestServer::HttpOk(CddbQueryBody({"rock 0f034803 A / B"})), INFINITE});
    player.server.Answer("cddb read", ReadBody);
    player.VolumeEvent(DBT_DEVICEARRIVAL, 'E');
    ASSERT_TRUE(PumpUntil([&] { return player.server.Requests().size() == 1; }));
    player.cd.RemoveDisc('E');
    player.VolumeEvent(DBT_DEVICEREMOVECOMPLETE, 'E');
    player.server.ReleaseHeld();
    ASSERT_TRUE(PumpUntil([&] { return player.server.Requests().size() == 2; }));
    PumpUntil([] { return false; }, 500);  // time for the answer to come and be turned away
    EXPECT_EQ("", player.Entry());

    // The disc back, and the file cannot be written: the titles still show.
    ASSERT_TRUE(CreateDirectoryA(player.folder.File("cdplayer.ini").c_str(), nullptr));
    player.cd.InsertDisc('E', "5:00.00 5:00.00 4:00.00");
    player.VolumeEvent(DBT_DEVICEARRIVAL, 'E');
    ASSERT_TRUE(player.Answered());
    EXPECT_EQ(Titled, player.TrackMenu());
    RemoveDirectoryA(player.folder.File("cdplayer.ini").c_str());
}

// The editor opened with the defaults before the answer came: the fields the
// user has not touched take the answer, and OK writes only what was typed.
TEST(DiscLookup, AnAnswerWhileTheEditorIsOpenFillsTheFieldsNotTouchedAndOkKeepsIt)
{
    LookupPlayer player;
    PlayerApplication& app = player.app;
    app.titleEditor.SetTemplate(IDD_TITLEEDITOR, nullptr);
    player.server.AnswerRaw({"cddb query", CddbTestServer::HttpOk(CddbQueryBody({"rock 0f034803 A / B"})), INFINITE});
    player.server.Answer("cddb read", ReadBody);
    app.discLookup.LookUpDiscInDrive();
    app.controller.OnCommand(IDM_EDITTITLES);
    HWND editor = app.titleEditor.hwnd;
    SetDlgItemTextA(editor, IDC_DISCARTIST, "自分で書いた人");
    player.server.ReleaseHeld();
    ASSERT_TRUE(player.Answered());
    EXPECT_EQ("夜明けの回路|自分で書いた人|はじまり",
              ItemText(editor, IDC_DISCTITLE) + "|" + ItemText(editor, IDC_DISCARTIST) + "|" + ItemText(editor, IDC_TRACKNAME));
    SetDlgItemTextA(editor, IDC_DISCTITLE, "新しい題");
    SendMessageA(editor, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(std::string("[") + player.discId + "]\r\ntitle=新しい題\r\nartist=自分で書いた人\r\nnumtracks=3\r\n"
                                                  "0=はじまり\r\n1=青い信号\r\n",
              player.Entry());
    EXPECT_EQ("新しい題;自分で書いた人;-; &1 はじまり; &2 青い信号; &3 トラック 3", player.TrackMenu());

    // The disc has its entry: nothing more is asked, not even after an arrival.
    player.VolumeEvent(DBT_DEVICEARRIVAL, 'E');
    EXPECT_FALSE(player.app.discLookup.Waiting());
    EXPECT_EQ(2u, player.server.Requests().size());
}

// The editor closes just as its answer is posted: the answer is freed all the same.
WNDPROC editorProc;
CddbTestServer* heldServer;
LRESULT CALLBACK ClosingEditor(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG posted;  // the answer posted while the window is still there
    if (message == WM_NCDESTROY)
        heldServer->ReleaseHeld();
    for (int i = 0; message == WM_NCDESTROY && i < 1000 &&
                    !PeekMessageA(&posted, nullptr, CddbAnswerMessage, CddbAnswerMessage, PM_NOREMOVE);
         ++i)
        Sleep(10);
    return CallWindowProcA(editorProc, window, message, wParam, lParam);
}

TEST(DiscLookup, TheEditorsButtonAsksNowLetsTheUserChooseAndNothingIsWrittenBeforeOk)
{
    LookupPlayer player;
    PlayerApplication& app = player.app;
    app.titleEditor.SetTemplate(IDD_TITLEEDITOR, nullptr);
    player.server.Answer("cddb query", CddbQueryBody({u8"rock 0f034803 ヴェルキン / 夜明けの回路", "jazz 0f034803 Other / Disc"}));
    player.server.Answer("cddb read jazz 0f034803", "210 jazz 0f034803\r\nDTITLE=Other / Disc\r\nTTITLE0=One\r\n"
                                                    "TTITLE2=Three\r\n.\r\n");
    app.controller.OnCommand(IDM_EDITTITLES);
    HWND editor = app.titleEditor.hwnd;
    ASSERT_TRUE(IsWindow(editor));
    SendMessageA(editor, WM_COMMAND, IDC_CDDB, 0);
    EXPECT_EQ("問い合わせ中...", ItemText(editor, IDC_CDDB));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(editor, IDC_CDDB)));
    // The list of matches: its lines kept, the second chosen.
    std::vector<std::string> matches;
    DialogAnswer::Next("CDDBの候補", [&](HWND box) {
        HWND list = GetDlgItem(box, IDC_CDDBMATCHLIST);
        for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            char line[512] = "";
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
            matches.push_back(line);
        }
        SendMessageA(list, LB_SETCURSEL, 1, 0);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(PumpUntil([&] { return ItemText(editor, IDC_DISCTITLE) == "Disc"; }, 15000));
    EXPECT_EQ((std::vector<std::string>{"rock\tヴェルキン / 夜明けの回路", "jazz\tOther / Disc"}), matches);
    EXPECT_EQ("Other", ItemText(editor, IDC_DISCARTIST));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(editor, IDC_CDDB)));
    EXPECT_EQ("", player.Entry());
    SendMessageA(editor, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(std::string("[") + player.discId + "]\r\ntitle=Disc\r\nartist=Other\r\nnumtracks=3\r\n0=One\r\n2=Three\r\n",
              player.Entry());

    // The server refuses: the user is told what it said. With the lookup
    // off, the user is asked first.
    player.server.Clear();
    player.server.Answer("cddb query", "500 Unknown developer email\r\n");
    app.controller.OnCommand(IDM_EDITTITLES);
    editor = app.titleEditor.hwnd;
    SendMessageA(editor, WM_COMMAND, IDC_CDDB, 0);
    std::string box;
    DialogAnswer::PlayerBox(box);
    ASSERT_TRUE(PumpUntil([&] { return !box.empty(); }, 15000));
    EXPECT_EQ("CDDBサーバー 127.0.0.1:" + std::to_string(player.server.Port()) +
                  " に問い合わせできませんでした。\nサーバーの返答: 500 Unknown developer email",
              box);
    app.settings.CddbLookup = 0;
    DialogAnswer::PlayerBox(box, IDNO);
    SendMessageA(editor, WM_COMMAND, IDC_CDDB, 0);
    EXPECT_NE(std::string::npos, box.find("CDDBサーバー 127.0.0.1 に送って")) << box;
    EXPECT_EQ(1u, player.server.Requests().size()) << "sent although the user said no";

    player.server.Clear();
    player.server.AnswerRaw({"cddb query", CddbTestServer::HttpOk("202 No match.\r\n"), INFINITE});
    app.settings.CddbLookup = 1;
    SendMessageA(editor, WM_COMMAND, IDC_CDDB, 0);
    ASSERT_TRUE(PumpUntil([&] { return player.server.Requests().size() == 1; }));
    heldServer = &player.server;
    editorProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClosingEditor)));
    app.titleEditor.Destroy();
    EXPECT_TRUE(PumpUntil([] { return CddbLookupsInUse() == 0; })) << "an answer was lost with the editor";
}

}  // namespace
