#include "Scenario.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <prsht.h>

namespace {

const UINT AllThree = MOD_ALT | MOD_CONTROL | MOD_SHIFT;

bool IsHotKeyFree(UINT modifiers, UINT key)
{
    if (!RegisterHotKey(nullptr, 0x7200, modifiers, key))
        return false;
    UnregisterHotKey(nullptr, 0x7200);
    return true;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
}

struct SheetSearch {
    DWORD notProcess;
    HWND found;
};

BOOL CALLBACK FindSheet(HWND window, LPARAM param)
{
    SheetSearch* search = reinterpret_cast<SheetSearch*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    const int tabControl = 0x3020;
    if (processId != GetCurrentProcessId() && processId != search->notProcess && IsWindowVisible(window) &&
        strcmp(className, "#32770") == 0 && GetDlgItem(window, tabControl)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The configuration program's sheet: a visible dialog with tabs of another
// process than this one and the player.
HWND WaitForSheet(DWORD notProcess, DWORD timeoutMs = 20000)
{
    SheetSearch search = {notProcess, nullptr};
    PumpUntil([&] {
        EnumWindows(FindSheet, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, timeoutMs);
    return search.found;
}

HWND ShowPage(HWND sheet, int index)
{
    Send(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// A click on a button of the sheet, as the user makes it.
void Click(HWND sheet, int button)
{
    PostMessageA(GetDlgItem(sheet, button), BM_CLICK, 0, 0);
}

// Exit code of the process that owns a window, once it ended; -1 otherwise.
int ExitCodeOfOwner(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process)
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (MsgWaitForMultipleObjects(1, &process, FALSE, 20000, 0) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return static_cast<int>(code);
}

// Chooses a command on the shortcut-key page and a key for it, as a click
// in the list and in the key box would.
void BindKey(HWND page, int command, const char* key)
{
    HWND list = GetDlgItem(page, 1000);
    HWND combo = GetDlgItem(page, 1001);
    Send(list, LB_SETCURSEL, command, 0);
    Send(page, WM_COMMAND, MAKEWPARAM(1000, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    LRESULT index = Send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(key));
    ASSERT_GE(index, 0) << key;
    Send(combo, CB_SETCURSEL, index, 0);
    Send(page, WM_COMMAND, MAKEWPARAM(1001, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

TEST(ConfigScenario, OkWritesEveryKeyButTheDriveAndCancelLeavesTheFile)
{
    Installation installation;
    {
        Process config(installation.Config());
        HWND sheet = WaitForSheet(0);
        ASSERT_NE(nullptr, sheet);
        EXPECT_EQ(config.Id(), [&] {
            DWORD id = 0;
            GetWindowThreadProcessId(sheet, &id);
            return id;
        }());
        EXPECT_NE(nullptr, ShowPage(sheet, 0));
        EXPECT_TRUE(Screenshot("config-general"));
        EXPECT_NE(nullptr, ShowPage(sheet, 1));
        EXPECT_TRUE(Screenshot("config-shortcut-keys"));
        EXPECT_NE(nullptr, ShowPage(sheet, 2));
        EXPECT_TRUE(Screenshot("config-sstp"));

        // A second start ends at once; the first keeps its sheet.
        EXPECT_EQ(0, RunProgram("\"" + installation.Config() + "\"", 20000));
        EXPECT_TRUE(IsWindowVisible(sheet));

        Click(sheet, IDOK);
        EXPECT_EQ(1, config.WaitForExit());
    }
    std::string saved = installation.Settings();
    for (const char* line :
         {"PlayOnExec=0\r\n", "PlayOnInsert=1\r\n", "SoundOnInsert=1\r\n", "SoundFile=", "IntroTime=10\r\n",
          "SendSstpMsg=0\r\n", "CheckSstpServer=1\r\n", "SstpServer=localhost\r\n", "SstpPort=9801\r\n",
          "SstpScript=Script: \\h\\s0「$」を演奏するよっ。", "MainMenu=458765\r\n", "TrackMenu=458784\r\n",
          "DriveMenu=458845\r\n", "ModeMenu=458760\r\n", "Play=458790\r\n", "Stop=458792\r\n", "Back=458789\r\n",
          "Next=458791\r\n", "Eject=458821\r\n", "Load=458828\r\n", "Custom=458819\r\n", "Info=458825\r\n",
          "Volume=458838\r\n", "VolCtrl=458831\r\n", "PropMM=458829\r\n"})
        EXPECT_NE(std::string::npos, saved.find(line)) << line << " in\n" << saved;
    EXPECT_EQ(std::string::npos, saved.find("Drive=")) << saved;

    // Cancel after a change leaves the file byte for byte.
    Process config(installation.Config());
    HWND sheet = WaitForSheet(0);
    ASSERT_NE(nullptr, sheet);
    HWND general = ShowPage(sheet, 0);
    Send(GetDlgItem(general, 1010), BM_CLICK, 0, 0);  // PlayOnExec
    EXPECT_EQ(BST_CHECKED, Send(GetDlgItem(general, 1010), BM_GETCHECK, 0, 0));
    Click(sheet, IDCANCEL);
    EXPECT_EQ(2, config.WaitForExit());
    EXPECT_EQ(saved, installation.Settings());
}

TEST(ConfigScenario, StartedFromThePlayerKeepsTheDriveAndAddsTheNewHotKey)
{
    VirtualCd cd;
    cd.InsertDisc('D', "1:00.00 1:00.00");
    cd.InsertDisc('E', "2:00.00");
    Installation installation;
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);
    player.Menu(MenuDriveBase + 3);  // D:
    ASSERT_TRUE(IsHotKeyFree(AllThree, 'J'));

    player.PostCommand(10);  // the configuration program
    HWND sheet = WaitForSheet(player.process.Id());
    ASSERT_NE(nullptr, sheet);
    EXPECT_NE(std::string::npos, installation.Settings().find("Drive=3\r\n")) << "written before the start";
    HWND page = ShowPage(sheet, 1);
    ASSERT_NE(nullptr, page);
    BindKey(page, 8, "J");  // Eject: Ctrl+Alt+Shift+J
    Click(sheet, IDOK);
    EXPECT_EQ(1, ExitCodeOfOwner(sheet));

    // The player reads the settings again and registers the new key, still
    // on drive D:.
    EXPECT_TRUE(PumpUntil([] { return !IsHotKeyFree(AllThree, 'J'); }, 10000));
    std::string saved = installation.Settings();
    EXPECT_NE(std::string::npos, saved.find("Eject=458826\r\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("Drive=3\r\n")) << saved;
    // The new key works.
    ASSERT_TRUE(PressKeys("ctrl+alt+shift+j"));
    EXPECT_TRUE(PumpUntil([&] { return cd.IsDoorOpen('D'); }, 5000));
    player.Command(9);
    cd.ClearLog();
    player.Command(4);
    ASSERT_EQ(1u, StartedPlays(cd).size()) << cd.Log();
    EXPECT_NE(std::string::npos, StartedPlays(cd)[0].find(" D PLAY "));
    EXPECT_EQ(0, player.Exit());
    EXPECT_NE(std::string::npos, installation.Settings().find("Drive=3\r\n"));
}

}  // namespace
