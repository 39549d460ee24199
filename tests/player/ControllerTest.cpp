#include "LoopbackListener.h"
#include "PlayerHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

// What the arrival sound would have sent, and how many plays had started then.
std::string soundCommand;
PlayerHarness* soundPlayer;

MCIERROR WINAPI RecordSound(LPCSTR command, LPSTR, UINT, HWND)
{
    soundCommand = command + (" after plays: " + std::to_string(soundPlayer->cd.LogLines(" PLAY ").size()));
    return 0;
}

TEST(PlayerController, TrackChoiceRandomDrawsIntroLengthsADriveChoiceAndADiscArrivalNoneWaitingForTheMascot)
{
    EXPECT_EQ(0, ChooseRandomTrack(0, 12345));  // a disc without tracks: none

    PlayerHarness player("0:30.00 2:00.00 0:06.00 0:30.00 0:30.00 0:30.00 0:30.00 0:30.00", 1);
    player.cd.InsertDisc('D', "1:00.00");
    PlayerController& controller = player.app.controller;
    // A mascot that accepts no connection holds up nothing below.
    SocketLibrary library;
    LoopbackListener dead(1);
    ASSERT_TRUE(dead.FillBacklog());
    player.SendSstpTo(dead.Port(), "Script: $");
    player.app.sstpNotifier.connectTimeoutMs = 30000;
    // Next on the last track plays track 1, Back on track 1 the last.
    controller.SelectTrack(IDM_TRACKBASE + 8);
    controller.NextTrack();
    controller.PreviousTrack();
    controller.PreviousTrack();
    EXPECT_EQ((std::vector<int>{8, 1, 8, 7}), player.PlayedTracks());
    controller.StopPlay();
    EXPECT_TRUE(player.app.cdDevice.GetMode() == CdModeStopped && player.app.cdDevice.GetCurrentTrack() == 1);
    SendMessageA(player.app.window.hwnd, player.app.sendCommandMessage, 4, 0);  // Play
    EXPECT_NE(std::string::npos, player.TrackMenu().find("トラック 8"));
    EXPECT_EQ((std::vector<int>{8, 1, 8, 7, 1}), player.PlayedTracks());
    EXPECT_TRUE(player.app.sstpNotifier.sender.Busy()) << "the first notification's connect was waited for";

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
    player.VolumeEvent(DBT_DEVICEREMOVECOMPLETE, 'D');
    Settings& settings = player.app.settings;
    settings.SoundOnInsert = 1;
    CopyText(settings.SoundFile, sizeof settings.SoundFile, "C:\\Program Files\\Sounds\\disc in.wav");
    soundPlayer = &player;
    controller.sendString = RecordSound;
    settings.PlayOnInsert = 0;
    player.cd.InsertDisc('D', "1:00.00 1:00.00");
    player.VolumeEvent(DBT_DEVICEARRIVAL, 'D');
    EXPECT_TRUE(soundCommand.empty() && player.PlayedTracks().empty());
    settings.PlayOnInsert = 1;
    // A stick (no drive F: here), a fixed drive, the CD drive not chosen and
    // a device that is no volume come and go too: the player stays as it is.
    player.cd.ClearLog();
    for (char letter : {'F', 'Z', 'E'})
        player.VolumeEvent(DBT_DEVICEARRIVAL, letter);
    DEV_BROADCAST_HDR port = {sizeof port, DBT_DEVTYP_PORT, 0};
    SendMessageA(player.app.window.hwnd, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&port));
    SendMessageA(player.app.window.hwnd, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    EXPECT_TRUE(soundCommand.empty() && player.cd.LogLines(" CLOSE ").empty()) << soundCommand << player.cd.Log();
    player.VolumeEvent(DBT_DEVICEARRIVAL, 'D');
    EXPECT_EQ("play \"C:\\Program Files\\Sounds\\disc in.wav\" wait after plays: 0", soundCommand);
    EXPECT_EQ((std::vector<int>{1}), player.PlayedTracks());

    // With the default device every CD drive counts, other volumes still not.
    controller.SelectDrive(IDM_DEFAULTDRIVE);
    player.cd.RemoveDisc('E');
    player.VolumeEvent(DBT_DEVICEREMOVECOMPLETE, 'E');
    soundCommand.clear();
    player.VolumeEvent(DBT_DEVICEARRIVAL, 'Z');
    EXPECT_EQ("", soundCommand);
    player.cd.InsertDisc('E', "1:00.00");
    player.VolumeEvent(DBT_DEVICEARRIVAL, 'E');
    EXPECT_NE("", soundCommand);
}

// Random play while paused, and a completion that waited in the queue while
// the user changed track.
TEST(PlayerController, PausedRandomPlayStartsTracksAtTheirBeginningAndAStaleCompletionAdvancesNothing)
{
    PlayerHarness player("2:00.00 2:00.00 2:00.00 2:00.00 2:00.00 2:00.00 2:00.00 2:00.00", 1);
    PlayerController& controller = player.app.controller;
    controller.ToggleMode(2);
    controller.SelectTrack(IDM_TRACKBASE + 3);
    // Next, Back and a track choice while paused: a track starts at its
    // beginning as a track of its own (to its end), and the pause is over.
    const struct { const char* what; std::function<void()> action; } changes[] = {
        {"next", [&] { controller.NextTrack(); }},
        {"back", [&] { controller.PreviousTrack(); }},
        {"track 5", [&] { controller.SelectTrack(IDM_TRACKBASE + 5); }},
    };
    for (const auto& change : changes) {
        controller.PlayPause();
        ASSERT_TRUE(player.app.paused && player.app.cdDevice.GetMode() == CdModeStopped) << change.what;
        player.cd.ClearLog();
        change.action();
        std::vector<std::string> plays = player.cd.LogLines(" PLAY ");
        ASSERT_EQ(1u, plays.size()) << change.what << player.cd.Log();
        long from = LogValue(plays[0], "from"), to = LogValue(plays[0], "to");
        EXPECT_TRUE(from >= 1 && from <= 8 && (to & 0xFF) == from) << change.what << ": " << plays[0];
        EXPECT_FALSE(player.app.paused) << change.what;
        EXPECT_EQ(CdModePlaying, player.app.cdDevice.GetMode()) << change.what;
    }
    EXPECT_EQ(5, LogValue(player.cd.LogLines(" PLAY ").back(), "from"));
    controller.ToggleMode(2);

    // Track 1 ends (its completion waits in the queue) while Next waits: the
    // completion belongs to track 1, so track 2 plays on and nothing skips it.
    player.cd.InsertDisc('E', "0:02.00 2:00.00 2:00.00");
    player.cd.SetSpeed(100);
    DrainMessages();
    player.cd.ClearLog();
    controller.SelectTrack(IDM_TRACKBASE + 1);
    Sleep(500);
    controller.NextTrack();
    DrainMessages();
    Sleep(100);
    DrainMessages();
    EXPECT_EQ((std::vector<int>{1, 2}), player.PlayedTracks()) << player.cd.Log();
    EXPECT_EQ(2, player.app.cdDevice.GetCurrentTrack());
}

// The report of keys that could not be registered names each key as the
// shortcut-key page does and always fits the balloon.
TEST(HotKeyReport, NamesEachKeyInTheConfigurationProgramsWordsAndFitsTheBalloon)
{
    int keys[CommandCount];
    for (int i = 0; i < CommandCount; ++i)
        keys[i] = CommandTable[i].defaultValue;
    keys[CommandNext] = MakeHotKeyValue(MOD_WIN | MOD_SHIFT, VK_RIGHT);
    keys[CommandPlay] = MakeHotKeyValue(0, 0x6C);  // a code the key list lacks
    keys[CommandStop] = MakeHotKeyValue(MOD_CONTROL, VK_F5);
    char text[BalloonTextCapacity];
    ComposeHotKeyReport(1u << CommandPlay | 1u << CommandStop | 1u << CommandNext, false, keys, text, sizeof text);
    EXPECT_STREQ("登録できなかったショートカットキー:\n再生: キーコード 0x6C\n停止: Ctrl+F5\n"
                 "次のトラック: Shift+Windows+→ （カーソルキー）\n「設定」の「ショートカットキー」で変更できます。",
                 text);
    // All fifteen taken: as many as fit, then how many more, and where to change them.
    ComposeHotKeyReport((1u << CommandCount) - 1, true, keys, text, sizeof text);
    std::string all = text;
    EXPECT_EQ(0u, all.find("ほかのプログラムが使っているショートカットキー:\nメインメニュー表示: Ctrl+Alt+Shift+Enter\n"));
    size_t more = all.find("\nほか ");
    ASSERT_NE(std::string::npos, more) << all;
    int listed = static_cast<int>(std::count(all.begin(), all.begin() + more, '\n'));
    EXPECT_EQ("\nほか " + std::to_string(CommandCount - listed) + " 件\n「設定」の「ショートカットキー」で変更できます。",
              all.substr(more));
}

// A drive that never reports a play's end, as Wine's: the watch acts on each
// end once, after a grace time the first time and at its next look later.
TEST(PlayerController, PlaysThroughADiscWhoseDriveNeverReportsAnEndAndActsOnEachEndOnce)
{
    PlayerHarness player("0:02.00 0:30.00 0:02.00", 20);  // 0.1, 1.5 and 0.1 seconds
    player.cd.SetEndNotify('E', false);
    PlayerController& controller = player.app.controller;
    PlayEndWatch& watch = controller.playEndWatch;

    DWORD started = GetTickCount();
    controller.SelectTrack(IDM_TRACKBASE + 1);
    EXPECT_TRUE(watch.Watching());
    ASSERT_TRUE(PumpUntil([&] { return player.PlayedTracks().size() == 2; }, 10000)) << player.cd.Log();
    EXPECT_GE(GetTickCount() - started, PlayEndWatch::FirstGraceMs) << "the first end waits for a notification";
    EXPECT_EQ(0u, watch.GraceMs()) << "then the drive is known to be silent";
    // A notification queued behind the new play belongs to no running play.
    player.app.window.PostMessage(MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, player.app.cdDevice.deviceId);
    // Track 3 is the last: after it the watch ends.
    ASSERT_TRUE(PumpUntil([&] { return !watch.Watching(); }, 10000)) << player.cd.Log();
    EXPECT_EQ((std::vector<int>{1, 2, 3}), player.PlayedTracks());

    // Pause ends the watch; the resume watches the rest of the disc.
    player.cd.ClearLog();
    controller.SelectTrack(IDM_TRACKBASE + 2);
    controller.PlayPause();
    EXPECT_TRUE(player.app.paused && !watch.Watching());
    size_t lines = player.cd.LogLines().size();
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ(lines, player.cd.LogLines().size()) << "a paused player asks the drive";
    controller.PlayPause();
    EXPECT_TRUE(watch.Watching());
    ASSERT_TRUE(PumpUntil([&] { return !watch.Watching(); }, 10000)) << player.cd.Log();
    EXPECT_EQ((std::vector<int>{2, 0}), player.PlayedTracks()) << "to the disc's end, then stopped";
    EXPECT_EQ(CdModeStopped, player.app.cdDevice.GetMode());
    EXPECT_EQ(1, player.app.cdDevice.GetCurrentTrack());

    // A play stopped behind the controller's back (by the drive's button, or
    // another program on a real drive) is no end: the watch gives up.
    player.cd.ClearLog();
    controller.SelectTrack(IDM_TRACKBASE + 2);
    player.app.cdDevice.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !watch.Watching(); }, 5000));
    EXPECT_EQ((std::vector<int>{2}), player.PlayedTracks());

    // A late notification while the drive stands elsewhere ends nothing, and
    // a drive that says "not ready" for a moment is asked again.
    controller.SelectTrack(IDM_TRACKBASE + 2);
    player.app.cdDevice.Stop();
    SendMessageA(player.app.window.hwnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, player.app.cdDevice.deviceId);
    EXPECT_EQ((std::vector<int>{2, 2}), player.PlayedTracks()) << "a play that did not end advanced";
    controller.SelectTrack(IDM_TRACKBASE + 2);
    player.cd.RemoveDisc('E');
    EXPECT_FALSE(watch.CheckEnd());
    EXPECT_TRUE(watch.Watching()) << "a passing answer ended the watch";
    player.VolumeEvent(DBT_DEVICEREMOVECOMPLETE, 'E');
    EXPECT_FALSE(watch.Watching()) << "the disc has gone";
}

}  // namespace
