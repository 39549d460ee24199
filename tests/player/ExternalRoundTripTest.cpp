// The player program itself, started from a folder of its own, with the
// programs it starts.
#include "ExternalPrograms.h"
#include "TestSupport.h"
#include "VirtualCd.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const UINT AllThreeModifiers = MOD_ALT | MOD_CONTROL | MOD_SHIFT;
const int TestHotKeyId = 0xB000;

struct WindowSearch {
    DWORD process;
    const char* className;
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (process == search.process && strcmp(className, search.className) == 0 &&
        (!search.owner || GetWindow(window, GW_OWNER) == search.owner)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD process, const char* className, HWND owner = nullptr)
{
    WindowSearch search = {process, className, owner, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectText(HWND child, LPARAM param)
{
    char className[32] = "";
    GetClassNameA(child, className, sizeof className);
    if (_stricmp(className, "Static") == 0) {
        char text[1024] = "";
        GetWindowTextA(child, text, sizeof text);
        std::string& longest = *reinterpret_cast<std::string*>(param);
        if (strlen(text) > longest.size())
            longest = text;
    }
    return TRUE;
}

std::string WindowText(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The text of a message box: its longest static control.
std::string MessageBoxText(HWND box)
{
    std::string text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::string IniValue(const std::string& file, const char* section, const char* key)
{
    char value[256] = "";
    GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

bool HotKeyIsFree(UINT modifiers, UINT key)
{
    if (!RegisterHotKey(nullptr, TestHotKeyId, modifiers, key))
        return false;
    UnregisterHotKey(nullptr, TestHotKeyId);
    return true;
}

// velkin.exe copied into a folder of its own, running.
class PlayerProcess {
public:
    explicit PlayerProcess(const TempFolder& folder) : folder(folder) {}
    ~PlayerProcess()
    {
        if (!process.hProcess)
            return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
            Exit();
            if (WaitForSingleObject(process.hProcess, 20000) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 1);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    bool Start()
    {
        std::string bin = ProgramFolder();
        if (!CopyFileA((bin + "velkin.exe").c_str(), folder.File("velkin.exe").c_str(), FALSE))
            return false;
        CopyFileA((bin + "vcdaudio.dll").c_str(), folder.File("vcdaudio.dll").c_str(), FALSE);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string line = "\"" + folder.File("velkin.exe") + "\"";
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        return Await([&] { return (window = FindProcessWindow(process.dwProcessId, "VelkinPlayerWndClass")); });
    }

    // True once the player has handled everything sent or posted before.
    bool Idle()
    {
        DWORD_PTR result;
        return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result) != 0;
    }

    void Command(WPARAM index)
    {
        PostMessageA(window, RegisterWindowMessageA("VelkinSendCommand"), index, 0);
    }

    void Exit() { PostMessageA(window, WM_COMMAND, 40007, 0); }

    int ExitCode()
    {
        if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        return static_cast<int>(code);
    }

    // A message box that the player window owns.
    HWND AwaitMessageBox()
    {
        HWND box = nullptr;
        Await([&] { return (box = FindProcessWindow(process.dwProcessId, "#32770", window)); });
        return box;
    }

    template <typename Condition>
    static bool Await(Condition done)
    {
        for (int i = 0; i < 400; ++i) {
            if (done())
                return true;
            Sleep(50);
        }
        return false;
    }

    HWND window = nullptr;

private:
    const TempFolder& folder;
    PROCESS_INFORMATION process = {};
};

TEST(ExternalRoundTripTest, ConfigProgramKeepsTheChosenDriveAndItsNewHotKeyWorks)
{
    VirtualCd cd;
    cd.InsertDisc('E', "3:00.00 4:00.00");
    TempFolder folder;
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "external_config_double.exe").c_str(),
                          folder.File("vlkcfg.exe").c_str(), FALSE));
    // The double moves Eject to Ctrl+Alt+Shift+J, which nobody holds yet.
    ASSERT_TRUE(HotKeyIsFree(AllThreeModifiers, 'J'));

    PlayerProcess player(folder);
    ASSERT_TRUE(player.Start());
    PostMessageA(player.window, WM_COMMAND, 51005, 0);  // drive E:
    player.Command(10);                                  // Custom: the configuration program
    ASSERT_TRUE(PlayerProcess::Await([&] { return !IniValue(folder.File("velkin.ini"), "Test", "DriveSeen").empty(); }));
    ASSERT_TRUE(player.Idle());

    // The player read the settings again and registered the new key.
    EXPECT_FALSE(HotKeyIsFree(AllThreeModifiers, 'J'));

    player.Exit();
    EXPECT_EQ(0, player.ExitCode());
    std::string ini = folder.File("velkin.ini");
    EXPECT_EQ("4", IniValue(ini, "Test", "DriveSeen"));  // written before the program started
    EXPECT_EQ("4", IniValue(ini, "General", "Drive"));   // and kept through the reload
    EXPECT_EQ("458826", IniValue(ini, "HotKey", "Eject"));
    EXPECT_TRUE(HotKeyIsFree(AllThreeModifiers, 'J'));
}

TEST(ExternalRoundTripTest, ProgramsThatCannotStartAreReportedByTheirMessages)
{
    VirtualCd cd;
    TempFolder folder;
    PlayerProcess player(folder);
    ASSERT_TRUE(player.Start());

    char configError[512];
    FormatConfigProgramError(folder.File("vlkcfg.exe").c_str(), configError, sizeof configError);
    const struct {
        WPARAM command;
        std::string text;
    } cases[] = {
        {10, configError},  // no vlkcfg.exe beside the player
        {13, VolumeControlError},
        {14, MultimediaPropertiesError},
    };
    for (const auto& c : cases) {
        player.Command(c.command);
        HWND box = player.AwaitMessageBox();
        ASSERT_NE(nullptr, box) << c.command;
        EXPECT_EQ("Velkinプレイヤー", WindowText(box));
        EXPECT_EQ(c.text, MessageBoxText(box));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(PlayerProcess::Await([&] { return !IsWindow(box); }));
    }
    ASSERT_TRUE(player.Idle());
    player.Exit();
    EXPECT_EQ(0, player.ExitCode());
}

}  // namespace
