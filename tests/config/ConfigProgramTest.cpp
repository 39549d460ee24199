#include "SheetScript.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char Title[] = "Velkinプレイヤーの設定";

// The real vlkcfg.exe, copied into a folder of its own so that its
// settings file is that folder's velkin.ini.
class ConfigProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = folder.File("vlkcfg.exe");
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "vlkcfg.exe").c_str(), program.c_str(), FALSE));
    }
    void TearDown() override
    {
        for (PROCESS_INFORMATION& p : started) {
            if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(p.hProcess, 99);
            CloseHandle(p.hThread);
            CloseHandle(p.hProcess);
        }
    }

    std::string SettingsPath() const { return folder.File("velkin.ini"); }

    // Starts the program and waits for its sheet; null when none came.
    HWND StartWithSheet()
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        std::string line = "\"" + program + "\"";
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(),
                            &startup, &process))
            return nullptr;
        started.push_back(process);
        HWND sheet = nullptr;
        PumpUntil([&] { return (sheet = FindThreadDialog(process.dwThreadId, Title)) != nullptr; }, 30000);
        return sheet;
    }

    int WaitForExit()
    {
        HANDLE process = started.back().hProcess;
        if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        return static_cast<int>(code);
    }

    static void PressSheetButton(HWND sheet, int id)
    {
        PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(sheet, id)));
    }

    TempFolder folder;
    std::string program;
    std::vector<PROCESS_INFORMATION> started;
};

int CountOf(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST_F(ConfigProgramTest, OkExitsWithOneAndWritesEveryKeyButDrive)
{
    WriteWholeFile(SettingsPath(), "[General]\r\nDrive=4\r\nIntroTime=20\r\n");
    HWND sheet = StartWithSheet();
    ASSERT_NE(nullptr, sheet);
    PressSheetButton(sheet, IDOK);
    EXPECT_EQ(1, WaitForExit());

    std::string saved = ReadWholeFile(SettingsPath());
    EXPECT_EQ(1, CountOf(saved, "\nDrive=4\r\n")) << "the player's drive stays as it was";
    const char* keys[] = {"PlayOnExec=0",      "PlayOnInsert=1", "SoundOnInsert=1", "SoundFile=",
                          "IntroTime=20",      "SendSstpMsg=0",  "CheckSstpServer=1", "SstpServer=localhost",
                          "SstpPort=9801",     "SstpScript=Script: ", "MainMenu=458765", "TrackMenu=458784",
                          "DriveMenu=458845",  "ModeMenu=458760", "Play=458790",     "Stop=458792",
                          "Back=458789",       "Next=458791",    "Eject=458821",    "Load=458828",
                          "Custom=458819",     "Info=458825",    "Volume=458838",   "VolCtrl=458831",
                          "PropMM=458829"};
    for (const char* key : keys)
        EXPECT_EQ(1, CountOf(saved, std::string("\n") + key)) << key << "\n" << saved;
}

TEST_F(ConfigProgramTest, OkWithoutAFileCreatesOneWithoutDrive)
{
    HWND sheet = StartWithSheet();
    ASSERT_NE(nullptr, sheet);
    PressSheetButton(sheet, IDOK);
    EXPECT_EQ(1, WaitForExit());
    std::string saved = ReadWholeFile(SettingsPath());
    EXPECT_NE(std::string::npos, saved.find("[HotKey]")) << saved;
    EXPECT_EQ(std::string::npos, saved.find("Drive=")) << saved;
}

TEST_F(ConfigProgramTest, CancelEscapeAndTheCloseBoxExitWithTwoAndWriteNothing)
{
    // Spacing and a comment that any rewrite would lose.
    const std::string original = "; mine\r\n[General]\r\nIntroTime = 7\r\n\r\n[SSTP]\r\nSstpPort=1\r\n";
    const char* ways[] = {"Cancel", "Esc", "close box"};
    for (const char* way : ways) {
        SCOPED_TRACE(way);
        WriteWholeFile(SettingsPath(), original);
        HWND sheet = StartWithSheet();
        ASSERT_NE(nullptr, sheet);
        if (way == ways[0])
            PressSheetButton(sheet, IDCANCEL);
        else if (way == ways[1])
            PostMessageA(sheet, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageA(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(2, WaitForExit());
        EXPECT_EQ(original, ReadWholeFile(SettingsPath()));
    }
}

TEST_F(ConfigProgramTest, SecondStartEndsAtOnceAndTheFirstKeepsItsSheet)
{
    HWND sheet = StartWithSheet();
    ASSERT_NE(nullptr, sheet);
    EXPECT_EQ(0, RunProgram("\"" + program + "\""));
    EXPECT_TRUE(IsWindow(sheet));
    EXPECT_TRUE(IsWindowVisible(sheet));
    EXPECT_EQ(std::string::npos, ReadWholeFile(SettingsPath()).find("[")) << "the second start wrote nothing";
    PressSheetButton(sheet, IDCANCEL);
    EXPECT_EQ(2, WaitForExit());
}

TEST_F(ConfigProgramTest, VersionBoxOpensFromThePageIcon)
{
    HWND sheet = StartWithSheet();
    ASSERT_NE(nullptr, sheet);
    DWORD thread = started.back().dwThreadId;
    HWND page = FindWindowExA(sheet, nullptr, "#32770", nullptr);
    ASSERT_NE(nullptr, page);
    HWND icon = GetDlgItem(page, 1009);
    PostMessageA(icon, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(icon, WM_LBUTTONUP, 0, 0);

    HWND box = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return (box = FindThreadDialog(thread, "バージョン情報")) != nullptr; }, 30000));
    if (box) {
        std::string text = MessageBoxText(box);
        EXPECT_EQ(0u, text.find(std::string(Title) + "\nVersion 1.00  (Build: ")) << text;
        PressButton(box, IDOK);
    }
    PumpUntil([&] { return FindThreadDialog(thread, "バージョン情報") == nullptr; }, 30000);
    PressSheetButton(sheet, IDCANCEL);
    EXPECT_EQ(2, WaitForExit());
}

TEST_F(ConfigProgramTest, FailedSaveIsShownAndNothingIsLostSilently)
{
    // A folder where the file should be: no key can be written.
    ASSERT_TRUE(CreateDirectoryA(SettingsPath().c_str(), nullptr));
    HWND sheet = StartWithSheet();
    ASSERT_NE(nullptr, sheet);
    DWORD thread = started.back().dwThreadId;
    PressSheetButton(sheet, IDOK);

    HWND box = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return (box = FindThreadDialog(thread, Title, sheet)) != nullptr; }, 30000));
    if (box) {
        std::string text = MessageBoxText(box);
        EXPECT_NE(std::string::npos, text.find(SettingsPath())) << text;
        EXPECT_NE(std::string::npos, text.find("設定は保存されていません。")) << text;
        PressButton(box, IDOK);
    }
    EXPECT_EQ(1, WaitForExit());
    RemoveDirectoryA(SettingsPath().c_str());
}

}  // namespace
