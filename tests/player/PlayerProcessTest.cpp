#include "CommandTable.h"
#include "TestSupport.h"
#include "VirtualCd.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

namespace {

const char WindowClass[] = "VelkinPlayerWndClass";
const DWORD StartTimeoutMs = 30000;

// A copy of the player and the virtual drive in a folder of its own, so
// its settings file is the test's.
class PlayerFolder {
public:
    PlayerFolder()
    {
        for (const char* name : {"velkin.exe", "vcdaudio.dll"})
            CopyFileA((ProgramFolder() + name).c_str(), folder.File(name).c_str(), FALSE);
    }
    std::string Program() const { return folder.File("velkin.exe"); }
    std::string Settings() const { return folder.File("velkin.ini"); }

private:
    TempFolder folder;
};

struct FindData {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param)
{
    FindData* data = reinterpret_cast<FindData*>(param);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == data->processId && strcmp(className, WindowClass) == 0) {
        data->window = window;
        return FALSE;
    }
    return TRUE;
}

// One running player process.
class PlayerProcess {
public:
    explicit PlayerProcess(const std::string& program)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + program + "\"";
        started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &info) != FALSE;
    }
    ~PlayerProcess()
    {
        if (!started)
            return;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info.hProcess, 99);
            WaitForSingleObject(info.hProcess, StartTimeoutMs);
        }
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }

    // The player's window once its message loop runs; null when none came.
    HWND WaitForWindow()
    {
        FindData data = {info.dwProcessId, nullptr};
        if (!started || !PumpUntil([&] {
                EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&data));
                return data.window != nullptr;
            }, StartTimeoutMs))
            return nullptr;
        return data.window;
    }

    // The exit code, or -1 when the process did not end in time.
    int WaitForExit()
    {
        if (WaitForSingleObject(info.hProcess, StartTimeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return static_cast<int>(code);
    }

    bool started = false;
    PROCESS_INFORMATION info = {};
};

LRESULT Send(HWND window, UINT message, WPARAM wParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, 0, SMTO_NORMAL, StartTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

bool IsHotKeyFree(int value)
{
    if (!RegisterHotKey(nullptr, 0x7001, HotKeyModifiers(value), HotKeyCode(value)))
        return false;
    UnregisterHotKey(nullptr, 0x7001);
    return true;
}

// True when the shell knows the player's icon: changing its tip succeeds.
bool IconIsShown(HWND window)
{
    NOTIFYICONDATAA icon = {};
    icon.cbSize = 88;
    icon.hWnd = window;
    icon.uID = 0;
    icon.uFlags = NIF_TIP;
    lstrcpynA(icon.szTip, "Velkinプレイヤー", 64);
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

TEST(PlayerProcess, RunsOnceTakesCommandsAndWritesTheDriveAtExit)
{
    VirtualCd cd;
    cd.SetSpeed(1);
    cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00");
    PlayerFolder folder;
    PlayerProcess first(folder.Program());
    HWND window = first.WaitForWindow();
    ASSERT_NE(nullptr, window);
    // Start-up ends with asking the drive whether it holds a disc.
    ASSERT_TRUE(PumpUntil([&] { return !cd.LogLines(" STATUS ").empty(); }, StartTimeoutMs));
    EXPECT_TRUE(cd.LogLines(" PLAY ").empty());
    const int nextKey = CommandTable[CommandNext].defaultValue;
    EXPECT_FALSE(IsHotKeyFree(nextKey));

    // A second start ends at once and leaves the first alone.
    size_t lines = cd.LogLines().size();
    EXPECT_EQ(0, RunProgram("\"" + folder.Program() + "\""));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(lines, cd.LogLines().size());
    EXPECT_FALSE(IsHotKeyFree(nextKey));

    UINT command = RegisterWindowMessageA("VelkinSendCommand");
    Send(window, command, 15);
    EXPECT_EQ(lines, cd.LogLines().size());
    Send(window, command, 0x10004);  // the high word is ignored: play
    std::vector<std::string> plays = cd.LogLines(" PLAY ");
    ASSERT_EQ(1u, plays.size());
    EXPECT_NE(std::string::npos, plays[0].find("from=0x00000001"));

    // A new task bar asks for the icon again.
    if (IconIsShown(window)) {
        NOTIFYICONDATAA icon = {};
        icon.cbSize = 88;
        icon.hWnd = window;
        Shell_NotifyIconA(NIM_DELETE, &icon);
        EXPECT_FALSE(IconIsShown(window));
        Send(window, RegisterWindowMessageA("TaskbarCreated"), 0);
        EXPECT_TRUE(IconIsShown(window));
    } else {
        ADD_FAILURE() << "the shell does not know the player's icon";
    }

    // Modes and pause of this run must not reach the next one.
    Send(window, WM_COMMAND, IDM_REPEATALL);
    Send(window, command, CommandPlay);
    EXPECT_EQ(1u, cd.LogLines(" PLAY ").size());
    cd.ClearLog();

    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(0, first.WaitForExit());
    EXPECT_NE(std::string::npos, ReadWholeFile(folder.Settings()).find("Drive=-1"));
    EXPECT_EQ(1u, cd.LogLines(" CLOSE ").size());
    EXPECT_TRUE(IsHotKeyFree(nextKey));

    // The next run starts with every mode off and without the pause.
    WriteWholeFile(folder.Settings(), "[General]\r\nPlayOnExec=1\r\nDrive=-1\r\n");
    cd.SetSpeed(20);
    cd.InsertDisc('E', "0:03.00 0:03.00");
    PlayerProcess second(folder.Program());
    HWND secondWindow = second.WaitForWindow();
    ASSERT_NE(nullptr, secondWindow);
    auto rewound = [&] {
        std::vector<std::string> log = cd.LogLines();
        size_t lastPlay = 0;
        int count = 0;
        for (size_t i = 0; i < log.size(); ++i) {
            if (log[i].find(" PLAY ") != std::string::npos) {
                lastPlay = i;
                ++count;
            }
        }
        for (size_t i = lastPlay; count >= 2 && i < log.size(); ++i) {
            if (log[i].find(" SEEK ") != std::string::npos && log[i].find("to=0x00000001") != std::string::npos)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(PumpUntil(rewound, StartTimeoutMs));
    plays = cd.LogLines(" PLAY ");
    ASSERT_EQ(2u, plays.size());
    EXPECT_NE(std::string::npos, plays[0].find("from=0x00000001"));
    EXPECT_NE(std::string::npos, plays[1].find("from=0x00000002"));

    PostMessageA(secondWindow, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(0, second.WaitForExit());
    EXPECT_EQ(2u, cd.LogLines(" PLAY ").size());
}

}  // namespace
