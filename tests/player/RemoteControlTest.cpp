// The player driven from outside: the keyboard's media keys, pressed by
// another program.
#include "PlayerHarness.h"

#include <gtest/gtest.h>


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
    controller.SelectTrack(IDM_TRACKBASE + 3), player.VolumeEvent(DBT_DEVICEREMOVECOMPLETE, 'E');
    EXPECT_TRUE(allFree());

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

}  // namespace
