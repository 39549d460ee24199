#include "ExternalPrograms.h"
#include "PlayerHarness.h"

#include <gtest/gtest.h>
#include <shellapi.h>

namespace {

const DWORD TimeoutMs = 30000;

// velkin.exe from a folder of its own, so its settings file is the test's and
// no vlkcfg.exe lies beside it; then the programs it starts, looked for there.
TEST(PlayerProcess, PlaysOnStartTakesCommandsFindsOrReportsTheProgramsItStartsAndKeepsNoModes)
{
    VirtualCd cd;
    cd.SetSpeed(1);
    cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00");
    TempFolder folder;
    WriteWholeFile(folder.File("velkin.ini"), "[General]\r\nPlayOnExec=1\r\n");
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
    ASSERT_TRUE(PumpUntil([&] { return (window = FindWindowA("VelkinPlayerWndClass", nullptr)) != nullptr; }, TimeoutMs));
    // Start-up ends with playing track 1.
    ASSERT_TRUE(PumpUntil([&] { return !cd.LogLines(" PLAY ").empty(); }, TimeoutMs));
    EXPECT_EQ(1, LogValue(cd.LogLines(" PLAY ")[0], "from"));

    size_t lines = cd.LogLines().size(), stops = cd.LogLines(" STOP ").size();
    UINT command = RegisterWindowMessageA("VelkinSendCommand");
    SendMessageA(window, command, 15, 0);
    EXPECT_EQ(lines, cd.LogLines().size());
    SendMessageA(window, command, 0x10004, 0);  // the high word is ignored: play, which pauses
    EXPECT_EQ(stops + 1, cd.LogLines(" STOP ").size()) << cd.Log();
    EXPECT_EQ(1u, cd.LogLines(" PLAY ").size());

    // A new task bar asks for the icon again. The shell knows the icon when changing its tip succeeds.
    auto icon = [&](DWORD change) {
        NOTIFYICONDATAA data = {};
        data.cbSize = 88;
        data.hWnd = window;
        data.uFlags = NIF_TIP;
        return Shell_NotifyIconA(change, &data) != FALSE;
    };
    ASSERT_TRUE(icon(NIM_MODIFY)) << "the shell does not know the player's icon";
    icon(NIM_DELETE);
    EXPECT_FALSE(icon(NIM_MODIFY));
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(icon(NIM_MODIFY));

    // No configuration program: a message box owned by the player window, with
    // the player's title and the path it tried on a line of its own.
    PostMessageA(window, command, 10, 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        return (box = FindWindowA("#32770", "Velkinプレイヤー")) && GetWindow(box, GW_OWNER) == window;
    }, TimeoutMs));
    EXPECT_EQ("設定プログラム\n" + folder.File("vlkcfg.exe") + "\nを起動できません。", ItemText(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }, TimeoutMs));

    // Modes and pause are not kept: the settings file gains the drive only.
    SendMessageA(window, WM_COMMAND, IDM_REPEATALL, 0);
    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, TimeoutMs));
    EXPECT_EQ("[General]\r\nPlayOnExec=1\r\nDrive=-1\r\n", ReadWholeFile(folder.File("velkin.ini")));

    char path[MAX_PATH], old[MAX_PATH];
    // "ソ" and "表" end in the byte of a backslash; neither is a folder break.
    BuildConfigProgramPath("C:\\ソフト\\表ソ.exe", path, sizeof path);
    EXPECT_STREQ("C:\\ソフト\\vlkcfg.exe", path);
    // The system's file search looks in the current folder. Only the newer
    // name exists, as on Windows Vista and later; where both exist the older one wins.
    GetCurrentDirectoryA(sizeof old, old);
    SetCurrentDirectoryA(folder.Path().c_str());
    EXPECT_FALSE(FindVolumeControl(path, sizeof path)) << path;
    for (const char* name : {"sndvol.exe", "sndvol32.exe"}) {
        WriteWholeFile(folder.File(name), "");
        EXPECT_TRUE(FindVolumeControl(path, sizeof path) && CharLowerA(strrchr(path, '\\') + 1) == std::string(name))
            << path;
    }
    SetCurrentDirectoryA(old);
}

}  // namespace
