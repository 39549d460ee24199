#include "ConfigApp.h"
#include "TestSupport.h"
#include "Text.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string WindowText(HWND window)
{
    char text[2048] = "";
    return GetWindowTextA(window, text, sizeof text), text;
}

// The visible dialog of this process with the caption, other than except, or null.
HWND FindBox(const char* caption, HWND except)
{
    DWORD process = 0;
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", caption)) != nullptr;)
        if (box != except && IsWindowVisible(box) && GetWindowThreadProcessId(box, &process) &&
            process == GetCurrentProcessId())
            return box;
    return nullptr;
}

// What a message box showed: its text static has the id 0xFFFF.
struct Box { std::string text; HWND owner; };

// The real sheet with its real pages, run modally in this process on a
// settings file in a folder of its own. What opens a modal window (the
// sheet, a save's message box) runs on a thread of its own, and the test
// acts on it from this thread as the user does.
class ConfigSheetTest : public ::testing::Test {
protected:
    ~ConfigSheetTest() override
    {
        if (worker.joinable())
            Finish();
    }
    void Start(std::function<void()> modal)
    {
        done = false;
        worker = std::thread([this, modal] { modal(), done = true; });
    }
    // Waits for the modal work to end (a window that never ends is left to the test's time limit).
    void Finish()
    {
        PumpUntil([this] { return done.load(); }, INFINITE);
        worker.join();
    }

    // A new application object that has loaded the file.
    ConfigApp& Prepare(const std::string& ini)
    {
        WriteWholeFile(SettingsPath(), ini);
        app.reset(new ConfigApp);
        app->Init(GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
        CopyText(app->modulePath, sizeof app->modulePath, folder.File("vlkcfg.exe").c_str());
        app->InitApplication();
        app->appIcon = app->LoadIcon(IDI_GENERAL);
        app->SetupSheet();
        return *app;
    }

    void OpenSheet() { Start([this] { app->sheet.DoModal(); }); }
    // The sheet's result once the test has ended it.
    int SheetResult() { return Finish(), app->sheet.result; }

    std::string SettingsPath() const { return folder.File("velkin.ini"); }
    HWND Sheet() { return app->sheet.hwnd; }
    static HWND Item(Window& page, int id) { return page.GetDlgItem(id); }
    static std::string Text(Window& page, int id) { return WindowText(Item(page, id)); }
    static void ExpectEnabled(bool on, Window& page, const std::vector<int>& ids)
    {
        for (int id : ids)
            EXPECT_EQ(on, IsWindowEnabled(Item(page, id)) != FALSE) << id;
    }
    static bool Ticked(Window& page, int id) { return page.IsDlgButtonChecked(id) == BST_CHECKED; }
    // A click as the user makes it: the control tells its page.
    static void Click(Window& page, int id) { SendMessageA(Item(page, id), BM_CLICK, 0, 0); }
    // The pasted script with a line break, and a key pressed in its box.
    static void PasteScriptAndPress(SstpPage& page, WPARAM key)
    {
        page.SetDlgItemText(IDC_SSTP_SCRIPT, "Script: \\h\\s0ONE\r\nTWO\\e");
        PostMessageA(Item(page, IDC_SSTP_SCRIPT), WM_KEYDOWN, key, 0);
    }
    // Each line is one of the settings file's.
    void ExpectLines(const std::vector<std::string>& lines) const
    {
        std::string saved = ReadWholeFile(SettingsPath());
        for (const std::string& line : lines)
            EXPECT_NE(std::string::npos, saved.find("\n" + line + "\r\n")) << line << " in\n" << saved;
    }

    // The key the page shows, with its ticked modifiers, after selecting the command (unless -1).
    static std::string Shown(ShortcutKeyPage& page, int command = -1)
    {
        if (command >= 0) {
            page.commandList.SetCurSel(command);
            SendMessageA(page.hwnd, WM_COMMAND, MAKEWPARAM(IDC_COMMAND_LIST, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(Item(page, IDC_COMMAND_LIST)));
        }
        std::string shown = Text(page, IDC_KEY_COMBO);  // the selected key; empty when none is
        const char* modifiers[] = {"+Alt", "+Ctrl", "+Shift", "+Win"};  // IDC_ALT_KEY to IDC_WIN_KEY
        for (int i = 0; i < 4; ++i)
            shown += Ticked(page, IDC_ALT_KEY + i) ? modifiers[i] : "";
        return shown;
    }

    // The sheet on the page, once the sheet shows.
    void ShowPage(int index, Window& page)
    {
        ASSERT_TRUE(PumpUntil([this] { return (sheetWindow = Sheet()) != nullptr; }, 10000));
        SendMessageA(sheetWindow, PSM_SETCURSEL, index, 0);
        ASSERT_NE(nullptr, page.hwnd);
    }

    // Answers the message box with the caption once it shows and waits
    // until it is gone; what it showed.
    Box Answer(const char* caption, int button)
    {
        HWND box = nullptr;
        PumpUntil([&] { return (box = FindBox(caption, sheetWindow)) != nullptr; }, 10000);
        Box seen = {WindowText(GetDlgItem(box, 0xFFFF)), GetWindow(box, GW_OWNER)};
        PostMessageA(box, WM_COMMAND, button, 0);
        EXPECT_TRUE(box && PumpUntil([&] { return !IsWindow(box); })) << caption;
        return seen;
    }

    std::thread worker;
    std::atomic<bool> done{false};
    HWND sheetWindow = nullptr;  // kept when the sheet is gone
    TempFolder folder;
    std::unique_ptr<ConfigApp> app;
};

// OK after the general page alone saves every key, the other pages' as
// loaded; a save that fails is told.
TEST_F(ConfigSheetTest, OkAfterTheGeneralPageSavesEveryKeyAndAFailedSaveIsTold)
{
    ConfigApp& saving = Prepare(
        "[General]\r\nPlayOnExec=1\r\nPlayOnInsert=0\r\nSoundOnInsert=0\r\nSoundFile=C:\\音\\表示.wav\r\nIntroTime=25\r\n"
        "[SSTP]\r\nSendSstpMsg=1\r\nSstpServer=127.0.0.1\r\nSstpPort=12345\r\n[HotKey]\r\nInfo=131145\r\n"
        "[CDDB]\r\nLookup=1\r\nServer=cddb.example\r\nPort=8080\r\nPath=/x.cgi\r\nEmail=me@example.org\r\n");
    GeneralPage& general = saving.generalPage;
    const std::vector<int> sound = {IDC_SOUND_FILE_LABEL, IDC_SOUND_FILE, IDC_BROWSE_SOUND};
    OpenSheet();
    ShowPage(0, general);
    EXPECT_EQ(ConfigTitle, WindowText(Sheet()));
    EXPECT_EQ(saving.appIcon, reinterpret_cast<HICON>(SendMessageA(Sheet(), WM_GETICON, ICON_BIG, 0)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(Sheet(), 0x3021))) << "no Apply button";
    EXPECT_TRUE(Ticked(general, IDC_PLAY_ON_EXEC) && !Ticked(general, IDC_PLAY_ON_INSERT) &&
                !Ticked(general, IDC_SOUND_ON_INSERT));
    EXPECT_EQ("C:\\音\\表示.wav 25", Text(general, IDC_SOUND_FILE) + " " + Text(general, IDC_INTRO_TIME));
    // The sound file is only for a sound that is switched on.
    ExpectEnabled(false, general, sound);
    Click(general, IDC_SOUND_ON_INSERT);
    ExpectEnabled(true, general, sound);

    // Typed, or stepped by an arrow key between 3 and 3600 in plain digits: as shown and as taken.
    const struct { const char* typed; WPARAM key; const char* shown; int taken; } times[] = {
        {"5000", 0, "5000", 5000}, {"-5", 0, "-5", 0}, {"4294967295", 0, "4294967295", 0}, {"15秒", 0, "15秒", 0},
        {" 12 ", 0, " 12 ", 12}, {"3600", VK_UP, "3600", 3600}, {"3", VK_DOWN, "3", 3}, {"999", VK_UP, "1000", 1000}};
    for (const auto& t : times) {
        general.SetDlgItemText(IDC_INTRO_TIME, t.typed);
        SendMessageA(Item(general, IDC_INTRO_TIME), WM_KEYDOWN, t.key, 0);
        saving.sheet.OnOK();  // takes what the pages show; a modal sheet stays open
        EXPECT_EQ(t.shown, Text(general, IDC_INTRO_TIME)) << t.typed;
        EXPECT_EQ(t.taken, saving.settings.IntroTime) << t.typed;
    }
    general.SetDlgItemText(IDC_SOUND_FILE, "C:\\音\\鐘.wav");
    Click(general, IDC_SOUND_ON_INSERT);
    ExpectEnabled(false, general, sound);
    PostMessageA(Sheet(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(IDOK, SheetResult());
    saving.ExitInstance(IDOK);
    // A disabled edit still carries its value.
    ExpectLines({"PlayOnExec=1", "PlayOnInsert=0", "SoundOnInsert=0", "SoundFile=C:\\音\\鐘.wav", "IntroTime=1000",
                 "SendSstpMsg=1", "SstpServer=127.0.0.1", "SstpPort=12345", "Info=131145", "Lookup=1",
                 "Server=cddb.example", "Port=8080", "Path=/x.cgi", "Email=me@example.org"});

    // A folder where the file should be: the write fails, and the user hears of it.
    ASSERT_TRUE(DeleteFileA(SettingsPath().c_str()) && CreateDirectoryA(SettingsPath().c_str(), nullptr));
    int code = 0;
    Start([&] { code = saving.ExitInstance(IDOK); });
    Box failed = Answer(ConfigTitle, IDOK);
    Finish();
    RemoveDirectoryA(SettingsPath().c_str());
    EXPECT_EQ(IDOK, code);
    EXPECT_EQ("設定ファイルに書き込めませんでした。\n" + SettingsPath() + "\n\n設定は保存されていません。", failed.text);

    // The sixth write (the sound file) refused, as a full disk may: the save
    // stops there, and the message says that only part of it was saved.
    struct RefusingFile : ProfileFile {
        using ProfileFile::ProfileFile;
        BOOL WriteString(LPCSTR section, LPCSTR key, LPCSTR value) override
        {
            return ++writes == 6 ? FALSE : ProfileFile::WriteString(section, key, value);
        }
        int writes = 0;
    } refusing(SettingsPath().c_str());
    bool saved = true;
    Start([&] { saved = saving.SaveOrWarn(refusing); });
    Box partly = Answer(ConfigTitle, IDOK);
    Finish();
    EXPECT_FALSE(saved);
    EXPECT_EQ("[General]\r\nPlayOnExec=1\r\nPlayOnInsert=0\r\nSoundOnInsert=0\r\n[SSTP]\r\nSendSstpMsg=1\r\n"
              "CheckSstpServer=1\r\n", ReadWholeFile(SettingsPath()));
    EXPECT_EQ("設定ファイルに書き込めませんでした。\n" + SettingsPath() + "\n\n設定は一部しか保存されていません。", partly.text);
}

// The other three pages edited, the host checked, a script pasted with a
// line break, and the sheet ended by Enter in the script box: OK. Then the
// same file edited and Esc pressed there: nothing is written.
TEST_F(ConfigSheetTest, KeysSstpAndCddbPagesEnterInTheScriptBoxSavesOneLineAndEscThereWritesNothing)
{
    // Stop holds a key code that the key list lacks (7), with Alt+Ctrl (3 << 16);
    // Eject has bits 8-15 set beside the code of "E" (0x0145), with Alt+Ctrl+Shift; ModeMenu is Alt+B.
    const std::string original = "; mine\r\n[HotKey]\r\nModeMenu=65602\r\nStop=196615\r\nEject=459077\r\n[SSTP]\r\n"
                                 "SendSstpMsg=0\r\nCheckSstpServer=0\r\nSstpServer=mascot.example\r\nSstpPort=70000\r\n"
                                 "SstpScript=Script: \\h\\s0$\\e\r\n\r\n[CDDB]\r\nServer=cddb.example\r\nPort=8880\r\n";
    ConfigApp& a = Prepare(original);
    ShortcutKeyPage& page = a.shortcutKeyPage;
    int* hotKeys = a.settings.hotKeys;
    OpenSheet();
    ShowPage(1, page);
    EXPECT_EQ(0, page.commandList.GetCurSel()) << "メインメニュー表示";
    EXPECT_EQ("Enter+Alt+Ctrl+Shift", Shown(page));

    // Selecting a command only shows it.
    EXPECT_EQ("↑ （カーソルキー）+Alt+Ctrl+Shift", Shown(page, 4));
    Click(page, IDC_WIN_KEY);
    EXPECT_EQ(983078, hotKeys[4]) << "Windows added to the default of Play";

    // An unknown code shows the default key and stays until edited.
    EXPECT_EQ("↓ （カーソルキー）+Alt+Ctrl", Shown(page, 5));
    Click(page, IDC_SHIFT_KEY);
    EXPECT_EQ(7 * 65536 + 0x28, hotKeys[5]) << "the shown key with the shown modifiers";

    // High bits beside a known code: its key shown, the value kept.
    EXPECT_EQ("E+Alt+Ctrl+Shift", Shown(page, 8));
    EXPECT_EQ(459077, hotKeys[8]);
    EXPECT_EQ("B+Alt", Shown(page, 3));

    PostMessageA(Item(page, IDC_RESET_KEYS), BM_CLICK, 0, 0);
    Box no = Answer(ConfigTitle, IDNO);
    EXPECT_EQ("すべてのショートカットキーを初期設定に戻しますか?", no.text);
    EXPECT_EQ(sheetWindow, no.owner);
    EXPECT_EQ(983078, hotKeys[4]) << "No keeps every binding";
    PostMessageA(Item(page, IDC_RESET_KEYS), BM_CLICK, 0, 0);
    Answer(ConfigTitle, IDYES);
    for (int i = 0; i < CommandCount; ++i)
        EXPECT_EQ(CommandTable[i].defaultValue, hotKeys[i]) << i;
    EXPECT_EQ("Backspace+Alt+Ctrl+Shift", Shown(page)) << "the selected command shows its default";

    // The fourth page: the disc database server, every field open while the
    // automatic lookup is off, and a word on what a lookup sends.
    CddbPage& cddb = a.cddbPage;
    ShowPage(3, cddb);
    EXPECT_FALSE(Ticked(cddb, IDC_CDDB_LOOKUP));
    EXPECT_EQ("cddb.example|8880|/~cddb/cddb.cgi|", Text(cddb, IDC_CDDB_SERVER) + "|" + Text(cddb, IDC_CDDB_PORT) +
                                                       "|" + Text(cddb, IDC_CDDB_PATH) + "|" + Text(cddb, IDC_CDDB_EMAIL));
    ExpectEnabled(true, cddb, {IDC_CDDB_SERVER, IDC_CDDB_PORT, IDC_CDDB_PATH, IDC_CDDB_EMAIL});
    EXPECT_NE(std::string::npos, Text(cddb, IDC_CDDB_NOTE).find("目次")) << Text(cddb, IDC_CDDB_NOTE);
    Click(cddb, IDC_CDDB_LOOKUP);
    cddb.SetDlgItemText(IDC_CDDB_SERVER, "freedb.example");
    cddb.SetDlgItemText(IDC_CDDB_PORT, "70000");  // pasted past the box's five digits: the low 16 bits
    cddb.SetDlgItemText(IDC_CDDB_PATH, "/cgi-bin/cddb.cgi");
    cddb.SetDlgItemText(IDC_CDDB_EMAIL, "表@example.org");

    // A click on the page's icon (every page has it from their common base)
    // shows "Version 2.01  (Build: Nov  8 2001 02:38:38)" on the second line.
    SstpPage& sstp = a.sstpPage;
    ShowPage(2, sstp);
    PostMessageA(Item(sstp, IDC_PAGE_ICON), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(Item(sstp, IDC_PAGE_ICON), WM_LBUTTONUP, 0, 0);
    Box version = Answer("バージョン情報", IDOK);
    const std::string first = std::string(ConfigTitle) + "\nVersion 2.01  (Build: ";
    EXPECT_TRUE(version.text.find(first) == 0 && version.text.size() == first.size() + 21) << version.text;
    EXPECT_EQ(sheetWindow, version.owner);

    const std::vector<int> switched = {IDC_CHECK_SSTP_SERVER, IDC_SERVER_LABEL, IDC_SSTP_SERVER, IDC_CHECK_HOST, IDC_PORT_LABEL,
                            IDC_SSTP_PORT, IDC_SCRIPT_LABEL, IDC_SSTP_SCRIPT, IDC_SCRIPT_HELP};
    EXPECT_FALSE(Ticked(sstp, IDC_SEND_SSTP));
    ExpectEnabled(false, sstp, switched);
    // The port shows the low 16 bits of 70000.
    EXPECT_EQ("mascot.example 4464 Script: \\h\\s0$\\e",
              Text(sstp, IDC_SSTP_SERVER) + " " + Text(sstp, IDC_SSTP_PORT) + " " + Text(sstp, IDC_SSTP_SCRIPT));
    Click(sstp, IDC_SEND_SSTP);
    ExpectEnabled(true, sstp, switched);

    // The port as atoi reads it, low 16 bits; a choice from the list shows in the field.
    HWND combo = Item(sstp, IDC_SSTP_PORT);
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    const std::pair<const char*, int> ports[] = {{nullptr, 11000}, {"abc", 0}, {"70000", 4464}, {" 9821x", 9821}};
    for (const auto& p : ports) {
        if (p.first)
            SetWindowTextA(combo, p.first);
        a.sheet.OnOK();  // takes what the pages show; a modal sheet stays open
        EXPECT_EQ(p.second, a.settings.SstpPort) << (p.first ? p.first : WindowText(combo));
    }

    // A dotted address is found as it stands; no reverse entry is asked for.
    sstp.SetDlgItemText(IDC_SSTP_SERVER, "192.0.2.7");
    PostMessageA(Item(sstp, IDC_CHECK_HOST), BM_CLICK, 0, 0);
    EXPECT_EQ("ホスト '192.0.2.7' は見つかりました。", Answer(ConfigTitle, IDOK).text);
    PasteScriptAndPress(sstp, VK_RETURN);
    EXPECT_EQ(IDOK, SheetResult());
    a.ExitInstance(IDOK);
    ExpectLines({"SendSstpMsg=1", "SstpServer=192.0.2.7", "SstpPort=9821", "SstpScript=Script: \\h\\s0ONETWO\\e",
                 "Play=458790", "Stop=458792", "Eject=458821", "Lookup=1", "Server=freedb.example", "Port=4464",
                 "Path=/cgi-bin/cddb.cgi", "Email=表@example.org"});
    EXPECT_EQ(std::string::npos, ReadWholeFile(SettingsPath()).find("\nTWO")) << "no stray line";

    // Esc in the script box cancels, as anywhere else in the sheet.
    ConfigApp& cancelled = Prepare(original);
    OpenSheet();
    ShowPage(2, cancelled.sstpPage);
    Click(cancelled.sstpPage, IDC_SEND_SSTP);
    PasteScriptAndPress(cancelled.sstpPage, VK_ESCAPE);
    EXPECT_EQ(IDCANCEL, SheetResult());
    EXPECT_EQ(IDCANCEL, cancelled.ExitInstance(IDCANCEL));
    EXPECT_EQ(original, ReadWholeFile(SettingsPath()));
}

}  // namespace
