// The player driven from outside: the keyboard's media keys, pressed by
// another program, and a second velkin.exe with a switch on its command line.
#include "PlayerHarness.h"

#include <gtest/gtest.h>

#include <future>

namespace {

const DWORD TimeoutMs = 30000;

// True when another program could take the bare key now.
bool IsFree(UINT key)
{
    return RegisterHotKey(nullptr, 0x7001, 0, key) && UnregisterHotKey(nullptr, 0x7001);
}

TEST(MediaKeys, ActAsTheirCommandsOnlyWhileADiscPlaysOrIsPausedAndATakenOneIsToldOnce)
{
    PlayerHarness player("1:00.00 1:00.00 1:00.00", 1);
    PlayerApplication& app = player.app;
    PlayerController& controller = app.controller;
    const UINT keys[] = {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_STOP, VK_MEDIA_NEXT_TRACK, VK_MEDIA_PREV_TRACK};
    auto allFree = [&] { return std::all_of(std::begin(keys), std::end(keys), IsFree); };
    auto press = [](UINT key) {
        return RunProgram("\"" + ProgramFolder() + "key_holder.exe\" press " + std::to_string(key)) == 0;
    };
    EXPECT_TRUE(allFree()) << "held while stopped";

    // Next plays the next track; Play/Pause pauses, holding the keys, and resumes.
    controller.SelectTrack(IDM_TRACKBASE + 1);
    ASSERT_TRUE(press(VK_MEDIA_NEXT_TRACK));
    EXPECT_TRUE(PumpUntil([&] { return player.PlayedTracks() == std::vector<int>{1, 2}; }, TimeoutMs));
    ASSERT_TRUE(press(VK_MEDIA_PLAY_PAUSE));
    EXPECT_TRUE(PumpUntil([&] { return app.paused != FALSE; }, TimeoutMs));
    EXPECT_FALSE(IsFree(VK_MEDIA_PLAY_PAUSE)) << "let go while paused";
    ASSERT_TRUE(press(VK_MEDIA_PLAY_PAUSE));
    EXPECT_TRUE(PumpUntil([&] { return player.PlayedTracks() == std::vector<int>{1, 2, 0}; }, TimeoutMs));
    ASSERT_TRUE(press(VK_MEDIA_STOP));
    EXPECT_TRUE(PumpUntil(allFree, TimeoutMs)) << "kept after the stop";
    // An eject, another drive and the disc taken out let them go too.
    controller.SelectTrack(IDM_TRACKBASE + 3), controller.EjectDisc();
    EXPECT_TRUE(allFree());
    app.cdDevice.CloseDoor(), controller.SelectTrack(IDM_TRACKBASE + 3), controller.SelectDrive(IDM_DRIVEBASE + 4);
    EXPECT_TRUE(allFree());
    controller.SelectTrack(IDM_TRACKBASE + 3), player.cd.RemoveDisc('E'), player.VolumeEvent(DBT_DEVICEREMOVECOMPLETE, 'E');
    EXPECT_TRUE(allFree());
    player.cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00"), player.VolumeEvent(DBT_DEVICEARRIVAL, 'E');

    // The window's media commands act in every state: play never pauses, pause never plays.
    controller.StopPlay(), player.cd.ClearLog();
    for (int command : {APPCOMMAND_MEDIA_PAUSE, APPCOMMAND_MEDIA_PLAY, APPCOMMAND_MEDIA_PLAY, APPCOMMAND_MEDIA_NEXTTRACK,
                        APPCOMMAND_MEDIA_PAUSE})
        SendMessageA(app.window.hwnd, WM_APPCOMMAND, 0, MAKELPARAM(0, command));
    EXPECT_EQ((std::vector<int>{1, 2}), player.PlayedTracks()) << player.cd.Log();
    EXPECT_TRUE(app.paused);

    // A key held elsewhere stays there, and is named once in a run.
    controller.StopPlay();
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x7002, 0, VK_MEDIA_PREV_TRACK));
    controller.SelectTrack(IDM_TRACKBASE + 1);
    EXPECT_STREQ("ほかのプログラムが使っているショートカットキー:\n前のトラック: メディアキー\n"
                 "「設定」の「ショートカットキー」で変更できます。",
                 app.hotKeyReport.text);
    app.hotKeyReport.text[0] = '\0';
    controller.StopPlay(), controller.SelectTrack(IDM_TRACKBASE + 1);
    EXPECT_STREQ("", app.hotKeyReport.text);
    UnregisterHotKey(nullptr, 0x7002);

    // Turned off in the configuration program: let go at once; a key does nothing.
    WriteWholeFile(player.folder.File("velkin.ini"), "[HotKey]\r\nMediaKeys=0\r\n");
    app.ReloadSettings();
    EXPECT_TRUE(allFree());
    ASSERT_TRUE(press(VK_MEDIA_NEXT_TRACK));
    DrainMessages();
    EXPECT_EQ(1, app.cdDevice.GetCurrentTrack());
}

// velkin.exe and the virtual drive's DLL in a folder of the test's, beside a
// configuration program that ends at once; the start of its command lines.
std::string Install(const TempFolder& folder, const std::string& settings)
{
    WriteWholeFile(folder.File("velkin.ini"), settings);
    for (const char* name : {"velkin.exe", "vcdaudio.dll", "app_probe.exe"})
        CopyFileA((ProgramFolder() + name).c_str(), folder.File(name).c_str(), FALSE);
    MoveFileA(folder.File("app_probe.exe").c_str(), folder.File("vlkcfg.exe").c_str());
    return "\"" + folder.File("velkin.exe") + "\" ";
}

// Started and left running: its exit code when it ends.
std::future<int> Start(const std::string& line)
{
    return std::async(std::launch::async, RunProgram, line, 4 * TimeoutMs);
}

// A menu or dialog that the player's process shows, or null.
HWND ShownBy(HWND player)
{
    DWORD process = 0, owner = 0;
    GetWindowThreadProcessId(player, &process);
    char name[16] = "";
    for (HWND shown = nullptr; (shown = FindWindowExA(nullptr, shown, nullptr, nullptr)) != nullptr;) {
        GetWindowThreadProcessId(shown, &owner);
        if (owner == process && IsWindowVisible(shown) && GetClassNameA(shown, name, sizeof name) &&
            (!strcmp(name, "#32768") || !strcmp(name, "#32770")))
            return shown;
    }
    return nullptr;
}

// Waits for what the player shows and closes it.
bool CloseShown(HWND player)
{
    HWND shown = nullptr;
    PumpUntil([&] { return (shown = ShownBy(player)) != nullptr; }, TimeoutMs);
    PostMessageA(shown, WM_CLOSE, 0, 0), PostMessageA(player, WM_CANCELMODE, 0, 0);  // the second ends a menu
    return shown && PumpUntil([&] { return !ShownBy(player); }, TimeoutMs);
}

// The text of the list of switches that a second velkin.exe shows; the box closed.
std::string UsageBox()
{
    std::string text;
    PumpUntil([&] {
        for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", PlayerTitle)) != nullptr;)
            if ((text = ItemText(box, 0xFFFF)).find("velkin.exe /") != std::string::npos)
                return PostMessageA(box, WM_CLOSE, 0, 0) != FALSE;
        return false;
    }, TimeoutMs);
    return text;
}

TEST(CommandLine, ASecondVelkinHandsEverySwitchToTheRunningPlayerOrStartsOneForIt)
{
    VirtualCd cd;
    cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00");
    TempFolder folder;
    const std::string settings = "[General]\r\nPlayOnInsert=0\r\n", velkin = Install(folder, settings);
    // None runs: a stop or an exit starts nothing, nor does "/?", which lists the switches.
    EXPECT_EQ(0, RunProgram(velkin + "/Stop") + RunProgram(velkin + "-exit"));
    std::future<int> help = Start(velkin + "/?");
    std::string text = UsageBox();
    for (const char* line : {"/Next\t次のトラック\n", "/Track:n\tトラック n を再生 (1～99)\n", "/Exit\t終了\n"})
        EXPECT_NE(std::string::npos, text.find(line)) << text;
    EXPECT_EQ(0, help.get());
    EXPECT_EQ(nullptr, FindWindowA(PlayerWindowClassName, nullptr));
    EXPECT_EQ(settings, ReadWholeFile(folder.File("velkin.ini")));
    // "/Play" starts the player, which plays once it is ready.
    std::future<int> player = Start(velkin + "/Play");
    ASSERT_TRUE(PumpUntil([&] { return cd.LogLines(" PLAY ").size() == 1; }, TimeoutMs)) << cd.Log();
    HWND window = FindWindowA(PlayerWindowClassName, nullptr);

    // Each device command is done when the second process ends.
    const std::pair<const char*, const char*> played[] = {{"/Track:2", "from=0x00000002"},
        {"-next", "from=0x00000003"}, {"/BACK", "from=0x00000002"}, {"/Play", " STOP "}, {"/play", " PLAY "}};
    for (const auto& step : played) {
        cd.ClearLog();
        EXPECT_EQ(0, RunProgram(velkin + step.first)) << step.first;
        EXPECT_NE(std::string::npos, cd.Log().find(step.second)) << step.first << "\n" << cd.Log();
    }
    EXPECT_EQ(3, RunProgram(velkin + "/Track:4")) << "the disc has three tracks";
    EXPECT_EQ(0, RunProgram(velkin + "/Stop") + RunProgram(velkin + "/Eject"));
    EXPECT_TRUE(cd.IsDoorOpen('E'));
    EXPECT_EQ(0, RunProgram(velkin + "/Load") + RunProgram(velkin + "/Custom"));
    EXPECT_FALSE(cd.IsDoorOpen('E'));
    // A menu, a dialog or a program: the second process ends once it opens.
    for (const char* name : {"/MainMenu", "/TrackMenu", "/DriveMenu", "/ModeMenu", "/Info", "/Volume", "/VolCtrl",
                             "/PropMM"}) {
        EXPECT_EQ(0, RunProgram(velkin + name)) << name;
        EXPECT_TRUE(CloseShown(window)) << name;
    }

    // A bad switch: the list of switches, nothing sent, the settings untouched.
    cd.ClearLog();
    const std::string before = ReadWholeFile(folder.File("velkin.ini"));
    std::future<int> bad = Start(velkin + "/Next /Back");
    EXPECT_EQ(0u, UsageBox().find("「/Next /Back」は使えません。\n\nvelkin.exe /スイッチ"));
    EXPECT_EQ(2, bad.get());
    EXPECT_EQ("", cd.Log());
    EXPECT_EQ(before, ReadWholeFile(folder.File("velkin.ini")));

    // "/EXIT" ends the player as its menu does, which writes the drive.
    EXPECT_EQ(0, RunProgram(velkin + "/EXIT"));
    EXPECT_EQ(0, player.get());
    EXPECT_EQ(settings + "Drive=-1\r\n", ReadWholeFile(folder.File("velkin.ini")));
}

}  // namespace
