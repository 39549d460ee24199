#include "CddbTestServer.h"
#include "LoopbackListener.h"
#include "PlayerHarness.h"
#include "Text.h"

#include <gtest/gtest.h>
#include <dbt.h>

namespace {

const char QueryWords[] = "cddb+query+0f034803+3+150+22650+45150+842";
const char ReadBody[] =
    u8"210 rock 0f034803 CD database entry follows (until terminating `.')\r\n# xmcd\r\nDISCID=0f034803\r\n"
    u8"DTITLE=ヴェルキン / 夜明けの回路\r\nTTITLE0=はじまり\r\nTTITLE1=青い\r\nTTITLE1=信号\r\nTTITLE2=\r\n.\r\n";

// A player on the virtual drive whose disc no cdplayer.ini knows, with the
// lookup on and a CDDB server of its own.
struct LookupPlayer : PlayerHarness {
    LookupPlayer()
    {
        cd.SetShortLastTrack(true);
        cd.InsertDisc('E', "5:00.00 5:00.00 4:00.00");  // CDDB disc ID 0f034803
        app.settings.CddbLookup = 1;
        CopyText(app.settings.CddbServer, sizeof app.settings.CddbServer, "127.0.0.1");
        app.settings.CddbPort = static_cast<unsigned short>(server.Port());
        Start();
        app.cdDevice.GetDiscId(discId, sizeof discId);
    }
    // Starts the lookup as start-up does and handles messages until its answer has been taken.
    bool LookUp()
    {
        app.discLookup.LookUpDiscInDrive();
        return PumpUntil([&] { return !app.discLookup.Waiting(); }, 15000);
    }
    std::string Entry() const { return ReadWholeFile(folder.File("cdplayer.ini")); }
    std::string TrackMenu()
    {
        HMENU tracks = app.trayMenus.TrackMenu();
        app.trayMenus.BuildTrackMenu(tracks);
        return MenuOutline(tracks);
    }
    // A volume arriving or going, as the system tells the window: E: is the drive in use.
    void Broadcast(WPARAM event, char letter = 'E')
    {
        DEV_BROADCAST_VOLUME volume = {sizeof volume, DBT_DEVTYP_VOLUME, 0, 1u << (letter - 'A'), DBTF_MEDIA};
        SendMessageA(app.window.hwnd, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume));
    }

    CddbTestServer server;
    char discId[16];
};

// Entry, menu and notification: what the user meets once the answer is in.
TEST(DiscLookup, AnExactMatchIsWrittenAsTheEditorWritesItAndShownAndSentFromThenOn)
{
    SocketLibrary library;
    LoopbackListener mascot;
    LookupPlayer player;
    player.server.Answer("cddb query", CddbQueryBody({"rock 0f034803 ヴェルキン / 夜明けの回路", "jazz 0f034803 X / Y"}));
    player.server.Answer("cddb read rock 0f034803", ReadBody);
    EXPECT_EQ("（タイトルなし）;（アーティスト名なし）;-; &1 トラック 1; &2 トラック 2; &3 トラック 3", player.TrackMenu());
    ASSERT_TRUE(player.LookUp());
    ASSERT_EQ(2u, player.server.RequestLines().size());
    EXPECT_EQ(std::string("GET /~cddb/cddb.cgi?cmd=") + QueryWords +
                  "&hello=anonymous+localhost+velkin+2.01&proto=6 HTTP/1.0",
              player.server.RequestLines()[0]);
    EXPECT_EQ(std::string("[") + player.discId + "]\r\ntitle=夜明けの回路\r\nartist=ヴェルキン\r\nnumtracks=3\r\n"
                                                  "0=はじまり\r\n1=青い信号\r\n",
              player.Entry());
    EXPECT_EQ("夜明けの回路;ヴェルキン;-; &1 はじまり; &2 青い信号; &3 トラック 3", player.TrackMenu());

    Settings& settings = player.app.settings;
    settings.SendSstpMsg = 1;
    settings.CheckSstpServer = 0;
    CopyText(settings.SstpServer, sizeof settings.SstpServer, "127.0.0.1");
    settings.SstpPort = static_cast<unsigned short>(mascot.Port());
    CopyText(settings.SstpScript, sizeof settings.SstpScript, "Script: &/#/$");
    ASSERT_TRUE(player.app.controller.PlayTrack(2));
    std::string request = mascot.ReceiveAll();
    EXPECT_NE(std::string::npos, request.find("\r\nScript: 夜明けの回路/ヴェルキン/青い信号\r\n")) << request;

    // The disc has its entry: nothing more is asked, not even after an arrival.
    player.Broadcast(DBT_DEVICEARRIVAL);
    EXPECT_FALSE(player.app.discLookup.Waiting());
    EXPECT_EQ(2u, player.server.Requests().size());
}

TEST(DiscLookup, AFailedLookupChangesNothingAndIsAskedAgainOnlyWhenADiscArrives)
{
    LookupPlayer player;
    player.server.Answer("cddb query", "202 No match for disc ID 0f034803.\r\n");
    ASSERT_TRUE(player.LookUp());
    player.app.controller.SelectDrive(IDM_DEFAULTDRIVE);  // the same disc again
    EXPECT_FALSE(player.app.discLookup.Waiting());
    EXPECT_EQ(1u, player.server.Requests().size());
    EXPECT_EQ("", player.Entry());
    EXPECT_EQ("（タイトルなし）;（アーティスト名なし）;-; &1 トラック 1; &2 トラック 2; &3 トラック 3", player.TrackMenu());

    // Another volume's arrival is not the disc's. A malformed answer, then
    // one that comes after the disc has gone.
    player.server.Clear();
    player.server.Answer("cddb query", "210 rock 0f034803\r\n");
    player.Broadcast(DBT_DEVICEARRIVAL, 'F');
    EXPECT_FALSE(player.app.discLookup.Waiting());
    player.Broadcast(DBT_DEVICEARRIVAL);
    ASSERT_TRUE(PumpUntil([&] { return !player.app.discLookup.Waiting(); }, 15000));
    EXPECT_EQ(1u, player.server.Requests().size());

    player.server.Clear();
    player.server.AnswerRaw({"cddb query", CddbTestServer::HttpOk(CddbQueryBody({"rock 0f034803 A / B"})), INFINITE,
                             std::string::npos, false});
    player.server.Answer("cddb read", ReadBody);
    player.Broadcast(DBT_DEVICEARRIVAL);
    ASSERT_TRUE(PumpUntil([&] { return player.server.Requests().size() == 1; }));
    player.cd.RemoveDisc('E');
    player.Broadcast(DBT_DEVICEREMOVECOMPLETE);
    player.server.ReleaseHeld();
    ASSERT_TRUE(PumpUntil([&] { return player.server.Requests().size() == 2; }));
    PumpUntil([] { return false; }, 500);  // time for the answer to come and be turned away
    EXPECT_EQ("", player.Entry());
}

// Where the file cannot be written the titles still show, for this run.
TEST(DiscLookup, TitlesThatCannotBeWrittenAreKeptForThisRun)
{
    LookupPlayer player;
    CreateDirectoryA(player.folder.File("cdplayer.ini").c_str(), nullptr);
    player.server.Answer("cddb query", CddbQueryBody({"rock 0f034803 ヴェルキン / 夜明けの回路"}));
    player.server.Answer("cddb read rock 0f034803", ReadBody);
    ASSERT_TRUE(player.LookUp());
    EXPECT_EQ("夜明けの回路;ヴェルキン;-; &1 はじまり; &2 青い信号; &3 トラック 3", player.TrackMenu());
    RemoveDirectoryA(player.folder.File("cdplayer.ini").c_str());
}

}  // namespace

namespace {

// The modal boxes of the editor's button are answered from a thread timer,
// which their own loops run: the list of matches (its lines kept, the second
// chosen) and the player's message boxes (their text kept, a button pressed).
std::vector<std::string> matchLines;
std::string boxText;
int boxButton;

void CALLBACK ChooseSecondMatch(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowA("#32770", "CDDBの候補");
    if (!box)
        return;
    HWND list = GetDlgItem(box, IDC_CDDBMATCHLIST);
    for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
        char line[512] = "";
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        matchLines.push_back(line);
    }
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    KillTimer(nullptr, timer);
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowA("#32770", PlayerTitle);
    if (!box)
        return;
    boxText = ItemText(box, 0xFFFF);
    PostMessageA(box, WM_COMMAND, boxButton, 0);
    KillTimer(nullptr, timer);
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
    matchLines.clear();
    SetTimer(nullptr, 0, 50, ChooseSecondMatch);
    ASSERT_TRUE(PumpUntil([&] { return ItemText(editor, IDC_DISCTITLE) == "Disc"; }, 15000));
    EXPECT_EQ((std::vector<std::string>{"rock\tヴェルキン / 夜明けの回路", "jazz\tOther / Disc"}), matchLines);
    EXPECT_EQ("Other", ItemText(editor, IDC_DISCARTIST));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(editor, IDC_CDDB)));
    EXPECT_EQ(std::string("GET /~cddb/cddb.cgi?cmd=cddb+read+jazz+0f034803"),
              player.server.RequestLines().at(1).substr(0, 47));
    EXPECT_EQ("", player.Entry());
    SendMessageA(editor, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(std::string("[") + player.discId + "]\r\ntitle=Disc\r\nartist=Other\r\nnumtracks=3\r\n0=One\r\n2=Three\r\n",
              player.Entry());

    // None found: the user is told. With the lookup off, the user is asked first.
    player.server.Clear();
    player.server.Answer("cddb query", "202 No match for disc ID 0f034803.\r\n");
    app.controller.OnCommand(IDM_EDITTITLES);
    editor = app.titleEditor.hwnd;
    SendMessageA(editor, WM_COMMAND, IDC_CDDB, 0);
    boxText.clear();
    boxButton = IDOK;
    SetTimer(nullptr, 0, 50, AnswerBox);
    ASSERT_TRUE(PumpUntil([&] { return !boxText.empty(); }, 15000));
    EXPECT_EQ("このディスクはCDDBに見つかりませんでした。", boxText);
    app.settings.CddbLookup = 0;
    boxText.clear();
    boxButton = IDNO;
    SetTimer(nullptr, 0, 50, AnswerBox);
    SendMessageA(editor, WM_COMMAND, IDC_CDDB, 0);
    EXPECT_NE(std::string::npos, boxText.find("CDDBサーバー 127.0.0.1 に送って")) << boxText;
    EXPECT_EQ(1u, player.server.Requests().size()) << "sent although the user said no";
    app.titleEditor.Destroy();
}

}  // namespace

namespace {

// The real program, started as the user starts it: the lookup runs while the
// server holds its answer back, and the player plays meanwhile; then the
// entry lands beside velkin.exe.
TEST(DiscLookup, TheProgramPlaysWhileTheServerIsSlowThenWritesTheEntryBesideItself)
{
    VirtualCd cd;
    cd.SetShortLastTrack(true);
    cd.InsertDisc('E', "5:00.00 5:00.00 4:00.00");
    CddbTestServer server;
    server.AnswerRaw({"cddb query", CddbTestServer::HttpOk(CddbQueryBody({u8"rock 0f034803 ヴェルキン / 夜明けの回路"})),
                      INFINITE, std::string::npos, false});
    server.Answer("cddb read rock 0f034803", ReadBody);
    TempFolder folder;
    WriteWholeFile(folder.File("velkin.ini"), "[CDDB]\r\nLookup=1\r\nServer=127.0.0.1\r\nPort=" +
                                                  std::to_string(server.Port()) + "\r\nEmail=someone@example.org\r\n");
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
    ASSERT_TRUE(PumpUntil([&] { return (window = FindWindowA("VelkinPlayerWndClass", nullptr)) != nullptr; }, 30000));
    ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() == 1; }, 30000));
    EXPECT_EQ(std::string("GET /~cddb/cddb.cgi?cmd=") + QueryWords +
                  "&hello=someone+example.org+velkin+2.01&proto=6 HTTP/1.0",
              server.RequestLines()[0]);

    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(window, RegisterWindowMessageA("VelkinSendCommand"), 4, 0, SMTO_ABORTIFHUNG,
                                    10000, &result))
        << "the player waits for the server";
    EXPECT_EQ(1u, cd.LogLines(" PLAY ").size());
    EXPECT_EQ("", ReadWholeFile(folder.File("cdplayer.ini")));

    server.ReleaseHeld();
    const std::string entry = std::string("title=夜明けの回路\r\nartist=ヴェルキン\r\nnumtracks=3\r\n0=はじまり\r\n1=青い信号\r\n");
    ASSERT_TRUE(PumpUntil([&] { return ReadWholeFile(folder.File("cdplayer.ini")).find(entry) != std::string::npos; },
                          30000))
        << ReadWholeFile(folder.File("cdplayer.ini"));
    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(0u, code);
}

}  // namespace
