#include "PlayerHarness.h"
#include "Text.h"
#include "resource.h"

#include <dbt.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using Tracks = std::vector<int>;

// TMSF of a position inside a track.
long Tmsf(int track, int minutes, int seconds, int frames)
{
    return static_cast<long>(MakeTmsf(track, minutes, seconds, frames));
}

TEST(PlayerController, NextOnTheLastTrackPlaysTheFirstAndBackOnTheFirstTheLast)
{
    PlayerHarness player;
    player.cd.SetSpeed(1);
    player.cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00");
    player.Start();

    player.app.controller.SelectTrack(IDM_TRACKBASE + 3);
    player.app.controller.NextTrack();
    EXPECT_EQ(1, player.app.cdDevice.GetCurrentTrack());
    player.app.controller.PreviousTrack();
    EXPECT_EQ(3, player.app.cdDevice.GetCurrentTrack());
    player.app.controller.PreviousTrack();
    EXPECT_EQ((Tracks{3, 1, 3, 2}), player.PlayedTracks());
    EXPECT_EQ(CdModePlaying, player.app.cdDevice.GetMode());
}

TEST(PlayerController, ADiscPlaysThroughAndStopsRewound)
{
    PlayerHarness player;
    player.cd.SetSpeed(20);
    player.cd.InsertDisc('E', "0:04.00 0:04.00 0:04.00");
    player.Start();

    ASSERT_TRUE(player.app.controller.PlayTrack(1));
    ASSERT_TRUE(player.WaitFor([&] {
        return player.Plays().size() >= 3 && player.app.cdDevice.GetMode() == CdModeStopped;
    }));
    DrainMessages();
    EXPECT_EQ((Tracks{1, 2, 3}), player.PlayedTracks());
    EXPECT_EQ(1, player.app.cdDevice.GetCurrentTrack());
    // The last track is played to the end of the disc: no end position.
    EXPECT_EQ(-1, LogValue(player.Plays().back(), "to"));
}

TEST(PlayerController, RepeatAllStartsTheDiscAgain)
{
    PlayerHarness player;
    player.cd.SetSpeed(20);
    player.cd.InsertDisc('E', "0:04.00 0:04.00");
    player.Start();
    player.app.controller.ToggleMode(0);

    player.app.controller.PlayTrack(1);
    ASSERT_TRUE(player.WaitForPlays(4));
    player.app.controller.StopPlay();
    Tracks played = player.PlayedTracks();
    played.resize(4);
    EXPECT_EQ((Tracks{1, 2, 1, 2}), played);
}

TEST(PlayerController, RepeatOneReplaysTheTrackAndWithRandomBackAndNextStillChoose)
{
    PlayerHarness player;
    player.cd.SetSpeed(20);
    player.cd.InsertDisc('E', "0:04.00 0:04.00 0:04.00 0:04.00 0:04.00 0:04.00 0:04.00 0:04.00");
    player.Start();
    player.app.controller.ToggleMode(1);

    player.app.controller.SelectTrack(IDM_TRACKBASE + 2);
    ASSERT_TRUE(player.WaitForPlays(3));
    Tracks played = player.PlayedTracks();
    played.resize(3);
    EXPECT_EQ((Tracks{2, 2, 2}), played);

    // With random play as well, the end of a track still replays it...
    player.app.controller.ToggleMode(2);
    player.cd.SetSpeed(1);
    player.app.controller.SelectTrack(IDM_TRACKBASE + 5);
    player.cd.SetSpeed(20);
    size_t before = player.Plays().size();
    ASSERT_TRUE(player.WaitForPlays(before + 1));
    EXPECT_EQ(5, player.PlayedTracks()[before]);

    // ...while Back and Next choose at random.
    player.cd.SetSpeed(1);
    std::set<int> chosen;
    bool allInOrder = true;
    for (int i = 0; i < 12; ++i) {
        int current = player.app.cdDevice.GetCurrentTrack();
        if (i % 2)
            player.app.controller.NextTrack();
        else
            player.app.controller.PreviousTrack();
        int now = player.app.cdDevice.GetCurrentTrack();
        chosen.insert(now);
        int expected = i % 2 ? current % 8 + 1 : (current + 6) % 8 + 1;
        allInOrder = allInOrder && now == expected;
    }
    EXPECT_FALSE(allInOrder);
    EXPECT_GT(chosen.size(), 2u);
    player.app.controller.StopPlay();
}

TEST(PlayerController, IntroPlaysTheFirstSecondsOfEachTrack)
{
    PlayerHarness player;
    player.cd.SetSpeed(50);
    player.cd.InsertDisc('E', "0:30.00 2:00.00 0:06.00 0:30.00");
    player.Start();
    player.app.settings.IntroTime = 10;
    player.app.controller.ToggleMode(3);

    player.app.controller.PlayTrack(1);
    ASSERT_TRUE(player.WaitFor([&] {
        return player.Plays().size() >= 4 && player.app.cdDevice.GetMode() == CdModeStopped;
    }));
    DrainMessages();
    std::vector<std::string> plays = player.Plays();
    ASSERT_EQ(4u, plays.size());
    EXPECT_EQ(Tmsf(1, 0, 10, 0), LogValue(plays[0], "to"));
    EXPECT_EQ(Tmsf(2, 0, 10, 0), LogValue(plays[1], "to"));
    // Shorter than the intro: the whole track, to a second before its end.
    EXPECT_EQ(Tmsf(3, 0, 5, 0), LogValue(plays[2], "to"));
    EXPECT_EQ(Tmsf(4, 0, 10, 0), LogValue(plays[3], "to"));
    EXPECT_EQ(1, player.app.cdDevice.GetCurrentTrack());

    player.app.settings.IntroTime = 90;
    player.cd.SetSpeed(1);
    player.app.controller.SelectTrack(IDM_TRACKBASE + 2);
    EXPECT_EQ(Tmsf(2, 1, 30, 0), LogValue(player.Plays().back(), "to"));
    player.app.controller.StopPlay();
}

TEST(PlayerController, PauseKeepsThePositionForPlayAndNextStartsTheNextTrack)
{
    PlayerHarness player;
    player.cd.SetSpeed(10);
    player.cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00");
    player.Start();

    player.app.controller.PlayPause();  // stopped, not paused: plays the current track
    ASSERT_EQ((Tracks{1}), player.PlayedTracks());
    ASSERT_TRUE(player.WaitFor([&] { return player.app.cdDevice.GetTrackElapsedSeconds() >= 3; }));
    player.app.controller.PlayPause();
    EXPECT_TRUE(player.app.paused);
    EXPECT_EQ(CdModeStopped, player.app.cdDevice.GetMode());
    int elapsed = player.app.cdDevice.GetTrackElapsedSeconds();

    player.app.controller.PlayPause();
    EXPECT_FALSE(player.app.paused);
    EXPECT_EQ(CdModePlaying, player.app.cdDevice.GetMode());
    EXPECT_EQ((Tracks{1, 0}), player.PlayedTracks());  // resumed, not started again
    EXPECT_GE(player.app.cdDevice.GetTrackElapsedSeconds(), elapsed);

    player.app.controller.PlayPause();
    ASSERT_TRUE(player.app.paused);
    player.cd.SetSpeed(1);
    player.app.controller.NextTrack();
    EXPECT_FALSE(player.app.paused);
    EXPECT_EQ(CdModePlaying, player.app.cdDevice.GetMode());
    EXPECT_EQ(2, player.app.cdDevice.GetCurrentTrack());
    EXPECT_LE(player.app.cdDevice.GetTrackElapsedSeconds(), 1);

    player.app.controller.StopPlay();
    EXPECT_EQ(CdModeStopped, player.app.cdDevice.GetMode());
    EXPECT_EQ(1, player.app.cdDevice.GetCurrentTrack());
    EXPECT_FALSE(player.app.paused);
}

TEST(PlayerController, ChoosingADriveStopsAndReopensWithoutPlaying)
{
    PlayerHarness player;
    player.cd.SetSpeed(1);
    player.cd.InsertDisc('E', "1:00.00 1:00.00");
    player.cd.InsertDisc('D', "1:00.00 1:00.00");
    player.Start();
    player.app.controller.PlayTrack(1);
    player.cd.ClearLog();

    player.app.controller.SelectDrive(IDM_DRIVEBASE + 3);
    EXPECT_EQ(3, player.app.settings.Drive);
    EXPECT_TRUE(player.Plays().empty());
    std::vector<std::string> opens = player.cd.LogLines(" OPEN ");
    ASSERT_EQ(1u, opens.size());
    EXPECT_NE(std::string::npos, opens[0].find("element=D:"));
    EXPECT_EQ(CdModeStopped, player.app.cdDevice.GetMode());
    EXPECT_EQ(1u, player.cd.LogLines("E STOP").size());

    player.app.controller.SelectDrive(IDM_DEFAULTDRIVE);
    EXPECT_EQ(-1, player.app.settings.Drive);
    // Past Z: there is no drive.
    player.app.controller.SelectDrive(IDM_DRIVEBASE + 26);
    EXPECT_EQ(-1, player.app.settings.Drive);
    EXPECT_EQ(2u, player.cd.LogLines(" OPEN ").size());
    EXPECT_TRUE(player.Plays().empty());
}

// What the arrival sound would have sent, and how many plays had started then.
std::string soundCommand;
size_t playsAtSound;
PlayerHarness* soundPlayer;

MCIERROR WINAPI RecordSound(LPCSTR command, LPSTR, UINT, HWND)
{
    soundCommand = command;
    playsAtSound = soundPlayer->Plays().size();
    return 0;
}

TEST(PlayerController, ADiscArrivalPlaysTheSoundThenTrackOneOnce)
{
    PlayerHarness player;
    player.cd.SetSpeed(1);
    player.Start();
    ASSERT_FALSE(player.app.mediaPresent);
    player.app.settings.SoundOnInsert = 1;
    CopyText(player.app.settings.SoundFile, sizeof player.app.settings.SoundFile,
             "C:\\Program Files\\Sounds\\disc in.wav");
    soundPlayer = &player;
    soundCommand.clear();
    player.app.controller.sendString = RecordSound;

    player.app.settings.PlayOnInsert = 0;
    player.cd.InsertDisc('E', "1:00.00 1:00.00");
    player.app.controller.OnDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_TRUE(soundCommand.empty());
    EXPECT_TRUE(player.Plays().empty());

    player.app.settings.PlayOnInsert = 1;
    player.app.controller.OnDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_EQ("play \"C:\\Program Files\\Sounds\\disc in.wav\" wait", soundCommand);
    EXPECT_EQ(0u, playsAtSound);
    EXPECT_EQ((Tracks{1}), player.PlayedTracks());
    EXPECT_TRUE(player.app.mediaPresent);

    player.app.controller.NextTrack();
    player.app.controller.OnDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_EQ((Tracks{1, 2}), player.PlayedTracks());  // the disc is not restarted

    // Ejecting the playing disc starts nothing.
    player.app.cdDevice.OpenDoor();
    player.cd.RemoveDisc('E');
    player.app.controller.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE);
    DrainMessages();
    EXPECT_FALSE(player.app.mediaPresent);
    EXPECT_EQ((Tracks{1, 2}), player.PlayedTracks());
}

TEST(PlayerController, RandomPlayChoosesNoTrackOnADiscWithoutTracks)
{
    EXPECT_EQ(0, ChooseRandomTrack(0, 12345));
    EXPECT_EQ(1, ChooseRandomTrack(-1, 12345));  // count unknown: the first track
    EXPECT_EQ(6, ChooseRandomTrack(10, 12345));
    EXPECT_EQ(10, ChooseRandomTrack(10, 9));
}

}  // namespace
