#include "ConfigApp.h"
#include "FileDialog.h"
#include "SheetScript.h"
#include "TestSupport.h"
#include "Text.h"
#include "resource.h"

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The real sheet with its real pages, run modally in this process on a
// settings file in a folder of its own.
class ConfigSheetTest : public ::testing::Test {
protected:
    void WriteSettings(const std::string& ini) { WriteWholeFile(SettingsPath(), ini); }
    std::string SettingsPath() const { return folder.File("velkin.ini"); }

    // A new application object that has loaded the file; one per sheet run.
    ConfigApp& Prepare()
    {
        app.reset(new ConfigApp);
        app->Init(GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
        CopyText(app->modulePath, sizeof app->modulePath, folder.File("vlkcfg.exe").c_str());
        app->InitApplication();
        app->appIcon = app->LoadIcon(IDI_GENERAL);
        app->SetupSheet();
        return *app;
    }

    // Runs the sheet until a step ends it; returns the sheet's result.
    int RunSheet(SheetScript& script)
    {
        script.abort = [this] {
            DismissThreadDialogs(Sheet());
            PostMessageA(Sheet(), WM_COMMAND, IDCANCEL, 0);
        };
        script.Run([this] { app->sheet.DoModal(); });
        return app->sheet.result;
    }

    HWND Sheet() { return app->sheet.hwnd; }
    static HWND Item(Window& page, int id) { return page.GetDlgItem(id); }
    static std::string Text(Window& page, int id) { return WindowText(Item(page, id)); }
    static bool Enabled(Window& page, int id) { return IsWindowEnabled(Item(page, id)) != FALSE; }
    static bool Ticked(Window& page, int id) { return page.IsDlgButtonChecked(id) == BST_CHECKED; }
    // A click as the user makes it: the control tells its page.
    static void Click(Window& page, int id) { SendMessageA(Item(page, id), BM_CLICK, 0, 0); }
    static void Notify(Window& page, int id, WORD code)
    {
        SendMessageA(page.hwnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(page, id)));
    }
    void ShowPage(int index) { SendMessageA(Sheet(), PSM_SETCURSEL, index, 0); }
    void PressOK() { PressButton(Sheet(), IDOK); }
    void PressCancel() { PressButton(Sheet(), IDCANCEL); }
    HWND FindBox(const std::string& caption) { return FindThreadDialog(GetCurrentThreadId(), caption, Sheet()); }

    SheetScript::Step WaitForPage(Window& page)
    {
        return [this, &page] { return Sheet() != nullptr && page.hwnd != nullptr; };
    }
    SheetScript::Step WaitUntilNoBox(const std::string& caption)
    {
        return [this, caption] { return FindBox(caption) == nullptr; };
    }

    TempFolder folder;
    std::unique_ptr<ConfigApp> app;
};

// ---- General page ----

TEST_F(ConfigSheetTest, GeneralPageShowsTheSettingsAndOkTakesWhatItShows)
{
    WriteSettings(
        "[General]\r\nPlayOnExec=1\r\nPlayOnInsert=0\r\nSoundOnInsert=0\r\n"
        "SoundFile=C:\\音\\表示.wav\r\nIntroTime=25\r\n");
    ConfigApp& a = Prepare();
    GeneralPage& page = a.generalPage;
    SheetScript script;
    script.Then(WaitForPage(page))
        .Then([&] {
            EXPECT_EQ(ConfigTitle, WindowText(Sheet()));
            EXPECT_EQ(a.appIcon, reinterpret_cast<HICON>(SendMessageA(Sheet(), WM_GETICON, ICON_BIG, 0)));
            HWND apply = GetDlgItem(Sheet(), 0x3021);
            EXPECT_TRUE(apply == nullptr || !IsWindowVisible(apply)) << "no Apply button";
            EXPECT_TRUE(Ticked(page, IDC_PLAY_ON_EXEC));
            EXPECT_FALSE(Ticked(page, IDC_PLAY_ON_INSERT));
            EXPECT_FALSE(Ticked(page, IDC_SOUND_ON_INSERT));
            EXPECT_EQ("C:\\音\\表示.wav", Text(page, IDC_SOUND_FILE));
            EXPECT_EQ("25", Text(page, IDC_INTRO_TIME));
            // The sound file is only for a sound that is switched on.
            EXPECT_FALSE(Enabled(page, IDC_SOUND_FILE_LABEL));
            EXPECT_FALSE(Enabled(page, IDC_SOUND_FILE));
            EXPECT_FALSE(Enabled(page, IDC_BROWSE_SOUND));
            Click(page, IDC_SOUND_ON_INSERT);
            EXPECT_TRUE(Enabled(page, IDC_SOUND_FILE_LABEL));
            EXPECT_TRUE(Enabled(page, IDC_SOUND_FILE));
            EXPECT_TRUE(Enabled(page, IDC_BROWSE_SOUND));
            // A focus notification of the box changes nothing.
            Notify(page, IDC_SOUND_ON_INSERT, BN_KILLFOCUS);
            EXPECT_TRUE(Enabled(page, IDC_SOUND_FILE));
            page.SetDlgItemText(IDC_SOUND_FILE, "D:\\other.wav");
            Click(page, IDC_SOUND_ON_INSERT);
            EXPECT_FALSE(Enabled(page, IDC_SOUND_FILE));
            EXPECT_FALSE(Enabled(page, IDC_BROWSE_SOUND));
            return true;
        })
        .Then([&] {
            // The arrow keys step between 3 and 3600 and write plain digits.
            HWND edit = Item(page, IDC_INTRO_TIME);
            page.SetDlgItemText(IDC_INTRO_TIME, "3600");
            SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
            EXPECT_EQ("3600", Text(page, IDC_INTRO_TIME));
            page.SetDlgItemText(IDC_INTRO_TIME, "3");
            SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);
            EXPECT_EQ("3", Text(page, IDC_INTRO_TIME));
            page.SetDlgItemText(IDC_INTRO_TIME, "999");
            SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
            EXPECT_EQ("1000", Text(page, IDC_INTRO_TIME));
            PressOK();
            return true;
        });
    EXPECT_EQ(IDOK, RunSheet(script));

    EXPECT_EQ(1, a.settings.PlayOnExec);
    EXPECT_EQ(0, a.settings.PlayOnInsert);
    EXPECT_EQ(0, a.settings.SoundOnInsert);
    EXPECT_STREQ("D:\\other.wav", a.settings.SoundFile) << "a disabled edit still carries its value";
    EXPECT_EQ(1000, a.settings.IntroTime);
    EXPECT_EQ(IDOK, a.ExitInstance(IDOK));
    std::string saved = ReadWholeFile(SettingsPath());
    EXPECT_NE(std::string::npos, saved.find("IntroTime=1000\r\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("SoundFile=D:\\other.wav\r\n")) << saved;
}

TEST_F(ConfigSheetTest, BrowseButtonPutsTheChosenFileIntoTheEdit)
{
    std::string wave = folder.File("bell.wav");
    WriteWholeFile(wave, "RIFF");
    WriteSettings("[General]\r\nSoundFile=\r\n");
    ConfigApp& a = Prepare();
    GeneralPage& page = a.generalPage;
    auto openDialog = [&] {
        PostMessageA(Item(page, IDC_BROWSE_SOUND), BM_CLICK, 0, 0);
        return true;
    };
    HWND dialog = nullptr;
    auto findDialog = [&] { return (dialog = FindBox("")) != nullptr; };
    SheetScript script;
    script.Then(WaitForPage(page))
        .Then(openDialog)
        .Then(findDialog)
        .Then([&] {
            EXPECT_EQ(Sheet(), GetWindow(dialog, GW_OWNER));
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        })
        .Then(WaitUntilNoBox(""))
        .Then([&] {
            EXPECT_EQ("", Text(page, IDC_SOUND_FILE)) << "a cancelled choice changes nothing";
            return openDialog();
        })
        .Then(findDialog)
        .Then([&] {
            HWND field = GetDlgItem(dialog, cmb13);
            SetWindowTextA(field ? field : GetDlgItem(dialog, edt1), wave.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return true;
        })
        .Then(WaitUntilNoBox(""))
        .Then([&] {
            EXPECT_STRCASEEQ(wave.c_str(), Text(page, IDC_SOUND_FILE).c_str());
            PressCancel();
            return true;
        });
    EXPECT_EQ(IDCANCEL, RunSheet(script));
}

TEST(SoundFilterTest, GivesTheDialogFourStrings)
{
    FileDialog dialog(TRUE, nullptr, "", GeneralPage::SoundFilter, 0, nullptr, 0, nullptr);
    const char* list = dialog.ofn.lpstrFilter;
    const char* expected[] = {"WAVEファイル (*.wav)", "*.wav", "すべてのファイル (*.*)", "*.*", ""};
    for (const char* part : expected) {
        EXPECT_STREQ(part, list);
        list += strlen(list) + 1;
    }
}

TEST_F(ConfigSheetTest, IntroTimeIsStoredAsTyped)
{
    const struct {
        const char* typed;
        int stored;
    } cases[] = {{"5000", 5000}, {"0", 0}, {"abc", 0}, {"-5", 0}, {"4294967295", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ConfigApp& a = Prepare();
        SheetScript script;
        script.Then(WaitForPage(a.generalPage)).Then([&] {
            a.generalPage.SetDlgItemText(IDC_INTRO_TIME, c.typed);
            PressOK();
            return true;
        });
        EXPECT_EQ(IDOK, RunSheet(script));
        EXPECT_EQ(c.stored, a.settings.IntroTime);
    }
}

// ---- Shortcut-key page ----

std::string SelectedKey(Window& page)
{
    HWND combo = page.GetDlgItem(IDC_KEY_COMBO);
    int index = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    char text[64] = "";
    if (index >= 0)
        SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(ConfigSheetTest, ShortcutKeyPageShowsAndStoresBindings)
{
    // Stop holds a key code that the key list lacks (7), with Alt+Ctrl;
    // Eject has bits 8-15 set beside the code of "E".
    const int stopValue = 3 * 65536 + 0x07;
    const int ejectValue = 7 * 65536 + 0x0145;
    WriteSettings("[HotKey]\r\nStop=" + std::to_string(stopValue) + "\r\nEject=" + std::to_string(ejectValue) +
                  "\r\n");
    ConfigApp& a = Prepare();
    ShortcutKeyPage& page = a.shortcutKeyPage;
    int* hotKeys = a.settings.hotKeys;
    SheetScript script;
    script.Then(WaitForPage(a.generalPage))
        .Then([&] {
            ShowPage(1);
            return page.hwnd != nullptr;
        })
        .Then([&] {
            EXPECT_EQ(15, SendMessageA(Item(page, IDC_COMMAND_LIST), LB_GETCOUNT, 0, 0));
            EXPECT_EQ(85, SendMessageA(Item(page, IDC_KEY_COMBO), CB_GETCOUNT, 0, 0));
            EXPECT_EQ(0, page.commandList.GetCurSel());
            char label[64] = "";
            SendMessageA(Item(page, IDC_COMMAND_LIST), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(label));
            EXPECT_STREQ("メインメニュー表示", label);
            EXPECT_EQ("Enter", SelectedKey(page));
            EXPECT_TRUE(Ticked(page, IDC_ALT_KEY));
            EXPECT_TRUE(Ticked(page, IDC_CTRL_KEY));
            EXPECT_TRUE(Ticked(page, IDC_SHIFT_KEY));
            EXPECT_FALSE(Ticked(page, IDC_WIN_KEY));

            // Selecting a command only shows it.
            page.commandList.SetCurSel(4);
            Notify(page, IDC_COMMAND_LIST, LBN_SELCHANGE);
            EXPECT_EQ("↑ （カーソルキー）", SelectedKey(page));
            EXPECT_EQ(458790, hotKeys[4]);
            Click(page, IDC_WIN_KEY);
            EXPECT_EQ(983078, hotKeys[4]) << "Windows added to the default of Play";

            // An unknown code shows the default key and stays until edited.
            page.commandList.SetCurSel(5);
            Notify(page, IDC_COMMAND_LIST, LBN_SELCHANGE);
            EXPECT_EQ("↓ （カーソルキー）", SelectedKey(page));
            EXPECT_TRUE(Ticked(page, IDC_ALT_KEY));
            EXPECT_TRUE(Ticked(page, IDC_CTRL_KEY));
            EXPECT_FALSE(Ticked(page, IDC_SHIFT_KEY));
            EXPECT_EQ(stopValue, hotKeys[5]);
            Notify(page, IDC_SHIFT_KEY, BN_SETFOCUS);
            EXPECT_EQ(stopValue, hotKeys[5]) << "a focus notification stores nothing";
            Click(page, IDC_SHIFT_KEY);
            EXPECT_EQ(7 * 65536 + 0x28, hotKeys[5]) << "the shown key with the shown modifiers";

            // High bits beside a known code: its key is shown, the value kept.
            page.commandList.SetCurSel(8);
            Notify(page, IDC_COMMAND_LIST, LBN_SELCHANGE);
            EXPECT_EQ("E", SelectedKey(page));
            EXPECT_EQ(ejectValue, hotKeys[8]);

            // A key chosen from the list.
            page.commandList.SetCurSel(9);
            Notify(page, IDC_COMMAND_LIST, LBN_SELCHANGE);
            SendMessageA(Item(page, IDC_KEY_COMBO), CB_SETCURSEL, 84, 0);
            Notify(page, IDC_KEY_COMBO, CBN_SELCHANGE);
            EXPECT_EQ(7 * 65536 + 0x5D, hotKeys[9]);
            PressOK();
            return true;
        });
    EXPECT_EQ(IDOK, RunSheet(script));
    a.ExitInstance(IDOK);
    std::string saved = ReadWholeFile(SettingsPath());
    EXPECT_NE(std::string::npos, saved.find("Play=983078\r\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("Stop=458792\r\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("Eject=" + std::to_string(ejectValue) + "\r\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("Load=458845\r\n")) << saved;
}

TEST_F(ConfigSheetTest, ResetAsksAndRestoresEveryCommand)
{
    WriteSettings("[HotKey]\r\nMainMenu=65601\r\nModeMenu=65602\r\nPropMM=196679\r\n");
    std::string before = ReadWholeFile(SettingsPath());
    ConfigApp& a = Prepare();
    ShortcutKeyPage& page = a.shortcutKeyPage;
    int* hotKeys = a.settings.hotKeys;
    const std::string question = "すべてのショートカットキーを初期設定に戻しますか?";
    SheetScript script;
    script.Then(WaitForPage(a.generalPage))
        .Then([&] {
            ShowPage(1);
            return page.hwnd != nullptr;
        })
        .Then([&] {
            page.commandList.SetCurSel(3);
            Notify(page, IDC_COMMAND_LIST, LBN_SELCHANGE);
            EXPECT_EQ("B", SelectedKey(page));
            PostMessageA(Item(page, IDC_RESET_KEYS), BM_CLICK, 0, 0);
            return true;
        })
        .Then([&] {
            HWND box = FindBox(ConfigTitle);
            if (!box)
                return false;
            EXPECT_EQ(question, MessageBoxText(box));
            EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), MessageBoxIcon(box));
            EXPECT_EQ(Sheet(), GetWindow(box, GW_OWNER));
            PressButton(box, IDNO);
            return true;
        })
        .Then(WaitUntilNoBox(ConfigTitle))
        .Then([&] {
            EXPECT_EQ(65601, hotKeys[0]);
            EXPECT_EQ(65602, hotKeys[3]);
            EXPECT_EQ(196679, hotKeys[14]);
            PostMessageA(Item(page, IDC_RESET_KEYS), BM_CLICK, 0, 0);
            return true;
        })
        .Then([&] {
            HWND box = FindBox(ConfigTitle);
            if (!box)
                return false;
            PressButton(box, IDYES);
            return true;
        })
        .Then(WaitUntilNoBox(ConfigTitle))
        .Then([&] {
            for (int i = 0; i < CommandCount; ++i)
                EXPECT_EQ(CommandTable[i].defaultValue, hotKeys[i]) << i;
            EXPECT_EQ(3, page.commandList.GetCurSel());
            EXPECT_EQ("Backspace", SelectedKey(page)) << "the selected command shows its default";
            EXPECT_TRUE(Ticked(page, IDC_SHIFT_KEY));
            PressCancel();
            return true;
        });
    EXPECT_EQ(IDCANCEL, RunSheet(script));
    EXPECT_EQ(IDCANCEL, a.ExitInstance(IDCANCEL));
    EXPECT_EQ(before, ReadWholeFile(SettingsPath())) << "Cancel writes nothing";
}

// ---- SSTP page ----

TEST_F(ConfigSheetTest, SstpControlsFollowTheSendBoxAndEnterEndsWithOk)
{
    WriteSettings(
        "[SSTP]\r\nSendSstpMsg=0\r\nCheckSstpServer=0\r\nSstpServer=mascot.example\r\nSstpPort=70000\r\n"
        "SstpScript=Script: \\h\\s0$\\e\r\n");
    ConfigApp& a = Prepare();
    SstpPage& page = a.sstpPage;
    const int switched[] = {IDC_CHECK_SSTP_SERVER, IDC_SERVER_LABEL, IDC_SSTP_SERVER,
                            IDC_CHECK_HOST,        IDC_PORT_LABEL,   IDC_SSTP_PORT,
                            IDC_SCRIPT_LABEL,      IDC_SSTP_SCRIPT,  IDC_SCRIPT_HELP};
    SheetScript script;
    script.Then(WaitForPage(a.generalPage))
        .Then([&] {
            ShowPage(2);
            return page.hwnd != nullptr;
        })
        .Then([&] {
            EXPECT_FALSE(Ticked(page, IDC_SEND_SSTP));
            EXPECT_TRUE(Enabled(page, IDC_SEND_SSTP));
            for (int id : switched)
                EXPECT_FALSE(Enabled(page, id)) << id;
            EXPECT_EQ("mascot.example", Text(page, IDC_SSTP_SERVER));
            EXPECT_EQ("4464", Text(page, IDC_SSTP_PORT)) << "the low 16 bits of 70000";
            EXPECT_EQ(3, SendMessageA(Item(page, IDC_SSTP_PORT), CB_GETCOUNT, 0, 0));
            EXPECT_EQ(-1, SendMessageA(Item(page, IDC_SSTP_PORT), CB_GETCURSEL, 0, 0));
            EXPECT_EQ("Script: \\h\\s0$\\e", Text(page, IDC_SSTP_SCRIPT));
            EXPECT_EQ(1023, SendMessageA(Item(page, IDC_SSTP_SCRIPT), EM_GETLIMITTEXT, 0, 0));
            Click(page, IDC_SEND_SSTP);
            for (int id : switched)
                EXPECT_TRUE(Enabled(page, id)) << id;
            Click(page, IDC_SEND_SSTP);
            EXPECT_FALSE(Enabled(page, IDC_SSTP_SCRIPT));
            Click(page, IDC_SEND_SSTP);
            // Enter in the script is the sheet's OK: the script is one line.
            SetFocus(Item(page, IDC_SSTP_SCRIPT));
            PostMessageA(Item(page, IDC_SSTP_SCRIPT), WM_KEYDOWN, VK_RETURN, 0);
            return true;
        });
    EXPECT_EQ(IDOK, RunSheet(script));
    EXPECT_EQ(1, a.settings.SendSstpMsg);
    EXPECT_EQ(0, a.settings.CheckSstpServer);
    EXPECT_STREQ("mascot.example", a.settings.SstpServer);
    EXPECT_EQ(4464, a.settings.SstpPort);
    EXPECT_STREQ("Script: \\h\\s0$\\e", a.settings.SstpScript);
}

TEST_F(ConfigSheetTest, PortIsTakenAsAtoiTakesIt)
{
    const struct {
        int listIndex;  // -1: typed
        const char* typed;
        int port;
    } cases[] = {{2, "", 11000}, {-1, "abc", 0}, {-1, "70000", 4464}, {-1, " 9821x", 9821}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ConfigApp& a = Prepare();
        SstpPage& page = a.sstpPage;
        SheetScript script;
        script.Then(WaitForPage(a.generalPage))
            .Then([&] {
                ShowPage(2);
                return page.hwnd != nullptr;
            })
            .Then([&] {
                HWND combo = Item(page, IDC_SSTP_PORT);
                if (c.listIndex >= 0) {
                    SendMessageA(combo, CB_SETCURSEL, c.listIndex, 0);
                    EXPECT_EQ("11000", WindowText(combo)) << "the choice shows in the edit field";
                } else {
                    SetWindowTextA(combo, c.typed);
                }
                PressOK();
                return true;
            });
        EXPECT_EQ(IDOK, RunSheet(script));
        EXPECT_EQ(c.port, a.settings.SstpPort);
    }
}

TEST_F(ConfigSheetTest, OkWithoutOpeningTheTabsKeepsTheirValuesAsLoaded)
{
    WriteSettings(
        "[SSTP]\r\nSendSstpMsg=1\r\nCheckSstpServer=0\r\nSstpServer=127.0.0.1\r\nSstpPort=12345\r\n"
        "SstpScript=Script: hello\r\n[HotKey]\r\nInfo=131145\r\n");
    ConfigApp& a = Prepare();
    SheetScript script;
    script.Then(WaitForPage(a.generalPage)).Then([&] {
        PressOK();
        return true;
    });
    EXPECT_EQ(IDOK, RunSheet(script));
    EXPECT_EQ(nullptr, a.sstpPage.hwnd);
    EXPECT_EQ(nullptr, a.shortcutKeyPage.hwnd);
    a.ExitInstance(IDOK);

    ProfileFile file(SettingsPath().c_str());
    Settings reread;
    LoadSettings(file, reread);
    EXPECT_EQ(1, reread.SendSstpMsg);
    EXPECT_EQ(0, reread.CheckSstpServer);
    EXPECT_STREQ("127.0.0.1", reread.SstpServer);
    EXPECT_EQ(12345, reread.SstpPort);
    EXPECT_STREQ("Script: hello", reread.SstpScript);
    EXPECT_EQ(131145, reread.hotKeys[CommandInfo]);
}

TEST_F(ConfigSheetTest, HostCheckReportsTheResolvedName)
{
    WriteSettings("[SSTP]\r\nSendSstpMsg=1\r\nSstpServer=localhost\r\n");
    ConfigApp& a = Prepare();
    SstpPage& page = a.sstpPage;
    SheetScript script;
    script.Then(WaitForPage(a.generalPage))
        .Then([&] {
            ShowPage(2);
            return page.hwnd != nullptr;
        })
        .Then([&] {
            PostMessageA(Item(page, IDC_CHECK_HOST), BM_CLICK, 0, 0);
            return true;
        })
        .Then([&] {
            HWND box = FindBox(ConfigTitle);
            if (!box)
                return false;
            EXPECT_EQ("ホスト 'localhost' は見つかりました。", MessageBoxText(box));
            EXPECT_EQ(LoadIconA(nullptr, IDI_INFORMATION), MessageBoxIcon(box));
            PressButton(box, IDOK);
            return true;
        })
        .Then(WaitUntilNoBox(ConfigTitle))
        .Then([&] {
            PressCancel();
            return true;
        });
    EXPECT_EQ(IDCANCEL, RunSheet(script));
}

TEST(HostReportTest, NamesTheHostAndCutsALongNameSafely)
{
    char report[512];
    SstpPage::FormatHostReport(report, sizeof report, "192.0.2.7", false);
    EXPECT_STREQ("ホスト '192.0.2.7' は見つかりません。", report);

    // The resolver's name has no bound of its own.
    std::string longName(1000, 'a');
    SstpPage::FormatHostReport(report, sizeof report, longName.c_str(), true);
    std::string expected = "ホスト '" + std::string(255, 'a') + "...' は見つかりました。";
    EXPECT_EQ(expected, report);

    // Double-byte characters are never cut in half ("表" ends in 0x5C).
    std::string kanji = "x";
    for (int i = 0; i < 200; ++i)
        kanji += "表";
    SstpPage::FormatHostReport(report, sizeof report, kanji.c_str(), true);
    std::string text = report;
    EXPECT_EQ(std::string::npos, text.find("表\\.")) << text;
    EXPECT_EQ("x" + kanji.substr(1, 254) + "...", text.substr(8, 258));
    EXPECT_NE(std::string::npos, text.find("...' は見つかりました。"));
}

// ---- Every page ----

// "Version 1.00  (Build: Nov  8 2001 02:38:38)": A stands for a letter, 9
// for a digit, and the day of the month may start with a blank.
bool IsVersionLine(const std::string& line)
{
    const std::string pattern = "Version 1.00  (Build: Aaa 99 9999 99:99:99)";
    if (line.size() != pattern.size())
        return false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char p = pattern[i], c = line[i];
        bool fits = p == 'A'   ? (c >= 'A' && c <= 'Z')
                    : p == 'a' ? (c >= 'a' && c <= 'z')
                    : p == '9' ? ((c >= '0' && c <= '9') || (c == ' ' && i == 26))
                               : c == p;
        if (!fits)
            return false;
    }
    return true;
}

TEST_F(ConfigSheetTest, VersionBoxOpensFromTheIconOfEveryPage)
{
    ConfigApp& a = Prepare();
    ConfigPage* pages[] = {&a.generalPage, &a.shortcutKeyPage, &a.sstpPage};
    const std::string caption = "バージョン情報";
    SheetScript script;
    script.Then(WaitForPage(a.generalPage));
    for (int i = 0; i < 3; ++i) {
        ConfigPage& page = *pages[i];
        script
            .Then([&, i] {
                ShowPage(i);
                if (!page.hwnd)
                    return false;
                // A click on the icon: the static control tells its page.
                PostMessageA(Item(page, IDC_PAGE_ICON), WM_LBUTTONDOWN, MK_LBUTTON, 0);
                PostMessageA(Item(page, IDC_PAGE_ICON), WM_LBUTTONUP, 0, 0);
                return true;
            })
            .Then([&, i] {
                HWND box = FindBox(caption);
                if (!box)
                    return false;
                std::string text = MessageBoxText(box);
                size_t lineEnd = text.find('\n');
                EXPECT_NE(std::string::npos, lineEnd) << text;
                if (lineEnd == std::string::npos)
                    lineEnd = 0;
                EXPECT_EQ(ConfigTitle, text.substr(0, lineEnd)) << "page " << i;
                EXPECT_TRUE(IsVersionLine(text.substr(lineEnd + 1))) << text;
                EXPECT_EQ(LoadIconA(nullptr, IDI_INFORMATION), MessageBoxIcon(box));
                EXPECT_EQ(Sheet(), GetWindow(box, GW_OWNER));
                PressButton(box, IDOK);
                return true;
            })
            .Then(WaitUntilNoBox(caption));
    }
    script.Then([&] {
        PressCancel();
        return true;
    });
    EXPECT_EQ(IDCANCEL, RunSheet(script));
}

// ---- Saving ----

TEST_F(ConfigSheetTest, FailedSaveTellsTheUserWhatWasNotSaved)
{
    // A folder where the file should be: every write fails.
    ASSERT_TRUE(CreateDirectoryA(SettingsPath().c_str(), nullptr));
    ConfigApp& a = Prepare();
    std::string boxText;
    HICON boxIcon = nullptr;
    int code = 0;
    SheetScript script;
    script.abort = [] { DismissThreadDialogs(nullptr); };
    script.Then([&] {
        HWND box = FindThreadDialog(GetCurrentThreadId(), ConfigTitle);
        if (!box)
            return false;
        boxText = MessageBoxText(box);
        boxIcon = MessageBoxIcon(box);
        PressButton(box, IDOK);
        return true;
    });
    script.Run([&] { code = a.ExitInstance(IDOK); });
    RemoveDirectoryA(SettingsPath().c_str());

    EXPECT_EQ(IDOK, code);
    EXPECT_NE(std::string::npos, boxText.find(SettingsPath())) << boxText;
    EXPECT_NE(std::string::npos, boxText.find("設定は保存されていません。")) << boxText;
    EXPECT_EQ(LoadIconA(nullptr, IDI_ERROR), boxIcon);
}

}  // namespace

namespace {

// Copies what the screen shows of a window (frame included) into a BMP file.
bool SaveWindowImage(HWND window, const std::string& path)
{
    RECT r;
    GetWindowRect(window, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    DWORD stride = ((width * 3 + 3) / 4) * 4;
    std::string pixels(stride * height, '\0');
    GetDIBits(memory, bitmap, 0, height, &pixels[0], reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes += pixels;
    WriteWholeFile(path, bytes);
    return ReadWholeFile(path).size() == bytes.size();
}

// Pictures of the three pages for the documentation. Runs only when
// VELKIN_SCREENSHOT_DIR names the folder for them (tools/screenshots-config).
TEST_F(ConfigSheetTest, Screenshots)
{
    char folderName[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("VELKIN_SCREENSHOT_DIR", folderName, sizeof folderName))
        GTEST_SKIP() << "VELKIN_SCREENSHOT_DIR is not set";
    std::string out = std::string(folderName) + "\\";
    WriteSettings("[General]\r\nSoundFile=C:\\windows\\media\\chimes.wav\r\n[SSTP]\r\nSendSstpMsg=1\r\n");
    ConfigApp& a = Prepare();
    const char* names[] = {"config-general", "config-shortcut", "config-sstp"};
    SheetScript script;
    script.Then(WaitForPage(a.generalPage)).Then([&] {
        SetWindowPos(Sheet(), HWND_TOP, 16, 16, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return true;
    });
    for (int i = 0; i < 3; ++i) {
        int waited = 0;
        script
            .Then([&, i] {
                ShowPage(i);
                SetFocus(GetDlgItem(Sheet(), IDOK));
                RedrawWindow(Sheet(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
                return true;
            })
            .Then([waited]() mutable { return ++waited > 30; })  // let the desktop show it
            .Then([&, i] {
                EXPECT_TRUE(SaveWindowImage(Sheet(), out + names[i] + ".bmp")) << names[i];
                return true;
            });
    }
    script.Then([&] {
        PressCancel();
        return true;
    });
    RunSheet(script);
}

}  // namespace
