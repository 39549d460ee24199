#include "PlayerHarness.h"
#include "Text.h"

#include <dbt.h>
#include <gtest/gtest.h>

#include <set>

namespace {

// True when the combination is free: this test could register it itself.
bool IsFree(int value)
{
    return RegisterHotKey(nullptr, 0x7000, HotKeyModifiers(value), HotKeyCode(value)) &&
           UnregisterHotKey(nullptr, 0x7000);
}

// What the arrival sound would have sent, and how many plays had started then.
std::string soundCommand;
PlayerHarness* soundPlayer;

MCIERROR WINAPI RecordSound(LPCSTR command, LPSTR, UINT, HWND)
{
    soundCommand = command + (" after plays: " + std::to_string(soundPlayer->cd.LogLines(" PLAY ").size()));
    return 0;
}

TEST(PlayerController, TrackChoiceRandomDrawsIntroLengthsADriveChoiceADiscArrivalAndTheHotKeys)
{
    EXPECT_EQ(0, ChooseRandomTrack(0, 12345));  // a disc without tracks: none

    PlayerHarness player;
    player.cd.SetSpeed(1);
    player.cd.InsertDisc('E', "0:30.00 2:00.00 0:06.00 0:30.00 0:30.00 0:30.00 0:30.00 0:30.00");
    player.cd.InsertDisc('D', "1:00.00");
    player.Start();
    PlayerController& controller = player.app.controller;
    // Next on the last track plays track 1, Back on track 1 the last.
    controller.SelectTrack(IDM_TRACKBASE + 8);
    controller.NextTrack();
    controller.PreviousTrack();
    controller.PreviousTrack();
    EXPECT_EQ((std::vector<int>{8, 1, 8, 7}), player.PlayedTracks());
    controller.StopPlay();
    EXPECT_TRUE(player.app.cdDevice.GetMode() == CdModeStopped && player.app.cdDevice.GetCurrentTrack() == 1);

    // In turn Back and Next would move between two tracks; at random they reach more.
    controller.ToggleMode(2);
    std::set<int> chosen;
    for (int i = 0; i < 12; ++i, chosen.insert(player.app.cdDevice.GetCurrentTrack()))
        i % 2 ? controller.NextTrack() : controller.PreviousTrack();
    EXPECT_GT(chosen.size(), 2u);
    controller.ToggleMode(2);

    // Intro time, track, and where its play ends: 0:05 is the last second of track 3.
    controller.ToggleMode(3);
    const int intros[][4] = {{10, 1, 0, 10}, {90, 2, 1, 30}, {10, 3, 0, 5}};
    for (const auto& c : intros) {
        player.app.settings.IntroTime = c[0];
        controller.SelectTrack(IDM_TRACKBASE + c[1]);
        EXPECT_EQ(static_cast<long>(MakeTmsf(c[1], c[2], c[3], 0)), LogValue(player.cd.LogLines(" PLAY ").back(), "to")) << c[1];
    }

    // Another drive: the playing one stops.
    player.cd.ClearLog();
    controller.SelectDrive(IDM_DRIVEBASE + 3);
    EXPECT_EQ(1u, player.cd.LogLines("E STOP").size()) << player.cd.Log();

    // A disc arrives in it: only with PlayOnInsert the quoted sound plays, then track 1.
    player.cd.RemoveDisc('D');
    controller.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE);
    Settings& settings = player.app.settings;
    settings.SoundOnInsert = 1;
    CopyText(settings.SoundFile, sizeof settings.SoundFile, "C:\\Program Files\\Sounds\\disc in.wav");
    soundPlayer = &player;
    controller.sendString = RecordSound;
    settings.PlayOnInsert = 0;
    player.cd.InsertDisc('D', "1:00.00 1:00.00");
    controller.OnDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_TRUE(soundCommand.empty() && player.PlayedTracks().empty());
    settings.PlayOnInsert = 1;
    controller.OnDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_EQ("play \"C:\\Program Files\\Sounds\\disc in.wav\" wait after plays: 0", soundCommand);
    EXPECT_EQ((std::vector<int>{1}), player.PlayedTracks());

    // Each configured combination hangs on its command's index: freeing that id frees its keys.
    player.app.hotKeys.RegisterHotKeys();
    for (int index = 0; index < CommandCount; ++index) {
        EXPECT_FALSE(IsFree(settings.hotKeys[index])) << "not registered: " << index;
        ASSERT_TRUE(UnregisterHotKey(player.app.window.hwnd, index)) << index;
        EXPECT_TRUE(IsFree(settings.hotKeys[index])) << index;
    }
}

}  // namespace
