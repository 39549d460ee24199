#include "ConfigApp.h"
#include "TestSupport.h"
#include "Text.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <thread>

namespace {

void Put(const char* keyName, DWORD type, const std::string& data)
{
    SHSetValueA(HKEY_CURRENT_USER, keyName, StartupEntry::ValueName, type, data.c_str(),
                static_cast<DWORD>(data.size() + (type == REG_SZ)));
}

// The real sheet from a folder of its own against the registry of the test
// prefix, whose value and mark for the player go before and after each test.
class StartupEntryTest : public ::testing::Test {
protected:
    StartupEntryTest() { TearDown(); }
    void TearDown() override
    {
        for (const char* keyName : {StartupEntry::RunKey, StartupEntry::ApprovedKey})
            SHDeleteValueA(HKEY_CURRENT_USER, keyName, StartupEntry::ValueName);
    }

    // Opens the sheet (modal, on a thread of its own), clicks the box when
    // asked, ends the sheet with the button and the program as it ends.
    // What the page showed (the box, the note and the path under it), then
    // what the registry holds.
    std::string Session(bool click, int button)
    {
        ConfigApp app;
        app.Init(GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
        CopyText(app.modulePath, sizeof app.modulePath, folder.File("vlkcfg.exe").c_str());
        app.InitApplication();
        app.SetupSheet();
        std::thread sheet([&] { app.sheet.DoModal(); });
        EXPECT_TRUE(PumpUntil([&] { return app.sheet.hwnd != nullptr; }, 10000));
        SendMessageA(app.sheet.hwnd, PSM_SETCURSEL, 0, 0);  // answered once the pages are set up
        char note[512], path[512];
        app.generalPage.GetDlgItemText(IDC_STARTUP_NOTE, note, sizeof note);
        app.generalPage.GetDlgItemText(IDC_STARTUP_PATH, path, sizeof path);
        std::string shown = (app.generalPage.IsDlgButtonChecked(IDC_START_WITH_WINDOWS) ? "[x]" : "[ ]") + std::string(note) + path;
        if (click)
            SendMessageA(app.generalPage.GetDlgItem(IDC_START_WITH_WINDOWS), BM_CLICK, 0, 0);
        PostMessageA(app.sheet.hwnd, WM_COMMAND, button, 0);
        sheet.join();
        app.ExitInstance(app.sheet.result);
        shown += " =>";  // the Run value and Task Manager's mark, "-" for none
        for (const char* keyName : {StartupEntry::RunKey, StartupEntry::ApprovedKey}) {
            char data[512] = "-";
            DWORD size = sizeof data - 1;
            SHGetValueA(HKEY_CURRENT_USER, keyName, StartupEntry::ValueName, nullptr, data, &size);
            shown += " " + std::string(data[0] == 3 ? "disabled" : data[0] == 2 ? "enabled" : data);
        }
        return shown;
    }

    std::string Quoted() const { return "\"" + folder.File("velkin.exe") + "\""; }
    TempFolder folder;
};

TEST_F(StartupEntryTest, OkWritesTheValueClearingDeletesItAndCancelChangesNothing)
{
    const std::string ours = Quoted() + " -";
    EXPECT_EQ("[ ] => - -", Session(true, IDCANCEL));
    EXPECT_EQ("[ ] => " + ours, Session(true, IDOK));
    EXPECT_EQ("[x] => " + ours, Session(false, IDOK));
    EXPECT_EQ("[x] => " + ours, Session(true, IDCANCEL));
    EXPECT_EQ("[x] => - -", Session(true, IDOK));
}

// A value the box does not show ticked: another copy's (a moved folder),
// or this one's disabled in Task Manager. The page says so, OK alone keeps
// it, and only ticking the box and OK takes it over or removes the mark.
TEST_F(StartupEntryTest, AnotherPathOrTaskManagersMarkIsShownAndReplacedOnlyWhenTheBoxIsTicked)
{
    const std::string other = "C:\\古い\\表\\velkin.exe";  // "表" ends in a backslash byte
    const std::string elsewhere = "[ ]別の場所のプレイヤーが登録されています:" + other + " => ";
    Put(StartupEntry::RunKey, REG_SZ, other);
    EXPECT_EQ(elsewhere + other + " -", Session(false, IDOK));
    EXPECT_EQ(elsewhere + Quoted() + " -", Session(true, IDOK));

    const std::string disabled = "[ ]タスク マネージャーで無効にされています => " + Quoted();
    Put(StartupEntry::ApprovedKey, REG_BINARY, std::string("\x03\0\0\0\0\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(disabled + " disabled", Session(false, IDOK));
    EXPECT_EQ(disabled + " -", Session(true, IDOK));

    // Enabled in Task Manager, the name in other case and without quotes: this folder's player.
    Put(StartupEntry::ApprovedKey, REG_BINARY, std::string("\x02\0\0\0\0\0\0\0\0\0\0\0", 12));
    Put(StartupEntry::RunKey, REG_SZ, folder.File("VELKIN.EXE"));
    EXPECT_EQ("[x] => " + folder.File("VELKIN.EXE") + " enabled", Session(false, IDCANCEL));
}

}  // namespace
