#include "Scenario.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char Title[] = "夜明けの回路";
const char Artist[] = "ヴェルキン・アンサンブル";

// "cdplayer.ini" with a disc's title, artist and track names.
std::string DiscEntry(const std::string& tracks, const std::string& title, const std::string& artist,
                      const std::vector<std::string>& names)
{
    std::string text = "[" + DiscId(tracks) + "]\r\nartist=" + artist + "\r\ntitle=" + title + "\r\n";
    for (size_t i = 0; i < names.size(); ++i)
        text += std::to_string(i) + "=" + names[i] + "\r\n";
    return text;
}

std::string Request(const std::string& script)
{
    return "SEND SSTP/1.1\r\nSender: Velkinプレイヤー\r\nCharset: Shift_JIS\r\n" + script + "\r\n\r\n";
}

// Index of the last log line containing a text, or -1.
int LastLine(const std::vector<std::string>& log, const char* text)
{
    for (size_t i = log.size(); i-- > 0;)
        if (log[i].find(text) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

bool IsHotKeyFree(UINT modifiers, UINT key)
{
    if (!RegisterHotKey(nullptr, 0x7100, modifiers, key))
        return false;
    UnregisterHotKey(nullptr, 0x7100);
    return true;
}

const UINT AllThree = MOD_ALT | MOD_CONTROL | MOD_SHIFT;

TEST(PlayerScenario, FirstStartRunsOnDefaultsOnceAndWritesOnlyTheDriveAtExit)
{
    VirtualCd cd;
    cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00");
    Installation installation;
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);
    EXPECT_EQ("Velkinプレイヤー", WindowText(player.window));
    EXPECT_FALSE(IsWindowVisible(player.window));
    EXPECT_TRUE(StartedPlays(cd).empty()) << "PlayOnExec is off by default";
    EXPECT_FALSE(IsHotKeyFree(AllThree, VK_RIGHT)) << "the default keys are taken";

    // A second start ends at once with 0 and leaves the first alone.
    size_t lines = cd.LogLines().size();
    EXPECT_EQ(0, RunProgram("\"" + installation.Player() + "\"", 20000));
    EXPECT_TRUE(IsWindow(player.window));
    EXPECT_EQ(lines, cd.LogLines().size());
    EXPECT_FALSE(IsHotKeyFree(AllThree, VK_RIGHT));
    EXPECT_EQ(1u, ProcessWindows(player.process.Id(), "VelkinPlayerWndClass", false).size());

    EXPECT_EQ(0, player.Exit());
    EXPECT_EQ("[General]\r\nDrive=-1\r\n", installation.Settings());
    EXPECT_TRUE(IsHotKeyFree(AllThree, VK_RIGHT));
}

TEST(PlayerScenario, PlaysADiscThroughAndTellsEachTrackOverSstp)
{
    const std::string tracks = "0:04.00 0:03.00 0:05.00";
    VirtualCd cd;
    cd.SetSpeed(20);
    cd.InsertDisc('E', tracks);
    Installation installation;
    // "ソ" and "表" end in the byte of a backslash; "%" starts a variable.
    installation.WriteDiscDatabase(DiscEntry(tracks, Title, Artist, {"はじまりの音", "ソーダ水の表通り", "100% Live"}));
    SstpServer sstp;
    installation.WriteSstpSettings(sstp.Port(), "Script: \\h\\s0$|#|&\\e");
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);

    player.Command(4);  // play
    const std::string tail = std::string("|") + Artist + "|" + Title + "\\e";
    EXPECT_EQ(Request("Script: \\h\\s0はじまりの音" + tail), sstp.Next());
    EXPECT_EQ("Script: \\h\\s0ソーダ水の表通り" + tail, SstpServer::ScriptOf(sstp.Next()));
    EXPECT_EQ("Script: \\h\\s0100\\% Live" + tail, SstpServer::ScriptOf(sstp.Next()));

    // After the last track the player stops, rewound to track 1.
    ASSERT_TRUE(PumpUntil([&] {
        std::vector<std::string> log = cd.LogLines();
        return LastLine(log, " SEEK ") > LastLine(log, " PLAY ");
    }, 10000)) << cd.Log();
    std::vector<std::string> plays = StartedPlays(cd);
    ASSERT_EQ(3u, plays.size()) << cd.Log();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(i + 1, FromTrack(plays[i]));
    EXPECT_EQ(0, player.Exit());
}

TEST(PlayerScenario, EveryPlayModeChoosesTheNextTrackItsWay)
{
    VirtualCd cd;
    cd.SetSpeed(100);
    cd.InsertDisc('E', "0:20.00 0:20.00 0:20.00");
    Installation installation;
    installation.WriteSettings("[General]\r\nIntroTime=5\r\n");
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);
    auto fromTracks = [&] {
        std::vector<int> from;
        for (const std::string& play : StartedPlays(cd))
            from.push_back(FromTrack(play));
        return from;
    };
    auto stopAndToggle = [&](int mode) {
        player.Menu(MenuStop);
        player.Menu(mode);
        cd.ClearLog();
    };

    // Repeat one: track 2 again and again.
    player.Menu(MenuRepeatOne);
    player.Menu(MenuTrackBase + 2);
    ASSERT_TRUE(WaitForPlays(cd, 3)) << cd.Log();
    for (int track : fromTracks())
        EXPECT_EQ(2, track);
    stopAndToggle(MenuRepeatOne);

    // Repeat all: after the last track the disc starts again at track 1.
    player.Menu(MenuRepeatAll);
    player.Menu(MenuTrackBase + 3);
    ASSERT_TRUE(WaitForPlays(cd, 2)) << cd.Log();
    std::vector<int> repeated = fromTracks();
    EXPECT_EQ(3, repeated[0]);
    EXPECT_EQ(1, repeated[1]);
    stopAndToggle(MenuRepeatAll);

    // Random: Next and every track end draw a track of the disc.
    player.Menu(MenuRandom);
    player.Menu(MenuNext);
    ASSERT_TRUE(WaitForPlays(cd, 4)) << cd.Log();
    for (int track : fromTracks())
        EXPECT_TRUE(track >= 1 && track <= 3) << track;
    stopAndToggle(MenuRandom);

    // Intro: the first IntroTime seconds of each track, then the next.
    player.Menu(MenuIntro);
    player.Menu(MenuTrackBase + 1);
    ASSERT_TRUE(WaitForPlays(cd, 2)) << cd.Log();
    std::vector<std::string> intros = StartedPlays(cd);
    EXPECT_EQ(1, FromTrack(intros[0]));
    EXPECT_EQ("0x00050001", PlayValue(intros[0], "to")) << "track 1, 0:05";
    EXPECT_EQ(2, FromTrack(intros[1]));
    EXPECT_EQ("0x00050002", PlayValue(intros[1], "to"));
    stopAndToggle(MenuIntro);
    EXPECT_EQ(0, player.Exit());
}

TEST(PlayerScenario, RepeatOneWithRandomReplaysTheTrackWhileNextDraws)
{
    VirtualCd cd;
    cd.SetSpeed(100);
    cd.InsertDisc('E', "0:20.00 0:20.00 0:20.00 0:20.00 0:20.00");
    Installation installation;
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);

    player.Menu(MenuRepeatOne);
    player.Menu(MenuRandom);
    player.Menu(MenuTrackBase + 2);
    ASSERT_TRUE(WaitForPlays(cd, 3)) << cd.Log();
    player.Menu(MenuStop);
    for (const std::string& play : StartedPlays(cd))
        EXPECT_EQ(2, FromTrack(play)) << play;

    // Next draws a track; its end replays that one.
    cd.ClearLog();
    player.Menu(MenuNext);
    ASSERT_TRUE(WaitForPlays(cd, 3)) << cd.Log();
    player.Menu(MenuStop);
    std::vector<std::string> plays = StartedPlays(cd);
    int drawn = FromTrack(plays[0]);
    EXPECT_TRUE(drawn >= 1 && drawn <= 5) << plays[0];
    for (const std::string& play : plays)
        EXPECT_EQ(drawn, FromTrack(play)) << play;
    EXPECT_EQ(0, player.Exit());
}

TEST(PlayerScenario, PauseStopsAndPlayResumesWhereItStopped)
{
    VirtualCd cd;
    cd.SetSpeed(10);
    cd.InsertDisc('E', "1:00.00 1:00.00");
    Installation installation;
    SstpServer sstp;
    installation.WriteSstpSettings(sstp.Port(), "Script: $");
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);

    player.Command(4);
    ASSERT_TRUE(WaitForPlays(cd, 1));
    EXPECT_EQ("Script: トラック 1", SstpServer::ScriptOf(sstp.Next()));
    PumpUntil([] { return false; }, 300);  // a few seconds of the disc
    player.Command(4);                      // pause
    std::vector<std::string> log = cd.LogLines();
    EXPECT_GT(LastLine(log, " STOP "), LastLine(log, " PLAY ")) << cd.Log();
    EXPECT_EQ(1u, StartedPlays(cd).size());

    player.Command(4);  // resume: from where the drive stands, without a seek
    ASSERT_TRUE(WaitForPlays(cd, 2)) << cd.Log();
    std::string resume = StartedPlays(cd)[1];
    EXPECT_EQ("", PlayValue(resume, "from")) << resume;
    log = cd.LogLines();
    EXPECT_LT(LastLine(log, " SEEK "), LastLine(log, " STOP ")) << cd.Log();
    EXPECT_EQ("", sstp.Next(300)) << "a resume is no new track";

    // Pause, then Next: track 2 from its start.
    player.Command(4);
    player.Command(7);
    ASSERT_TRUE(WaitForPlays(cd, 3)) << cd.Log();
    log = cd.LogLines();
    int seek = LastLine(log, " SEEK ");
    ASSERT_GE(seek, 0);
    EXPECT_NE(std::string::npos, log[seek].find("to=0x00000002")) << log[seek];
    // The next Play pauses again: the pause flag was cleared by Next.
    player.Command(4);
    log = cd.LogLines();
    EXPECT_GT(LastLine(log, " STOP "), LastLine(log, " PLAY ")) << cd.Log();
    EXPECT_EQ(0, player.Exit());
}

TEST(PlayerScenario, ChosenDriveIsUsedAndWrittenAtExit)
{
    VirtualCd cd;
    cd.InsertDisc('D', "1:00.00 1:00.00");
    cd.InsertDisc('E', "2:00.00");
    Installation installation;
    {
        Player player(installation, cd);
        ASSERT_NE(nullptr, player.window);
        cd.ClearLog();
        player.Menu(MenuDriveBase + 3);  // D:
        EXPECT_FALSE(cd.LogLines(" D OPEN ").empty()) << cd.Log();
        EXPECT_TRUE(StartedPlays(cd).empty()) << "choosing a drive starts nothing";
        player.Command(4);
        ASSERT_EQ(1u, StartedPlays(cd).size());
        EXPECT_NE(std::string::npos, StartedPlays(cd)[0].find(" D PLAY "));
        EXPECT_EQ(0, player.Exit());
    }
    EXPECT_NE(std::string::npos, installation.Settings().find("Drive=3\r\n")) << installation.Settings();

    // The next start opens D: again.
    cd.ClearLog();
    Player again(installation, cd);
    ASSERT_NE(nullptr, again.window);
    EXPECT_FALSE(cd.LogLines(" D OPEN ").empty()) << cd.Log();
    again.Menu(MenuDefaultDrive);
    EXPECT_EQ(0, again.Exit());
    EXPECT_NE(std::string::npos, installation.Settings().find("Drive=-1\r\n")) << installation.Settings();
}

TEST(PlayerScenario, EjectInsertAndSwapDiscsPlayingEachNewDisc)
{
    const std::string first = "1:00.00 1:00.00";
    const std::string second = "2:00.00 2:00.00 2:00.00";
    VirtualCd cd;
    cd.SetSpeed(1);
    Installation installation;
    installation.WriteDiscDatabase(DiscEntry(first, "Alpha", "A", {"a-one", "a-two"}) +
                                   DiscEntry(second, "Beta", "B", {"b-one"}));
    SstpServer sstp;
    installation.WriteSstpSettings(sstp.Port(), "Script: &/$");
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);

    // A disc goes in: the player plays track 1 (PlayOnInsert is on).
    cd.InsertDisc('E', first);
    BroadcastDeviceChange(true, 'E');
    ASSERT_TRUE(WaitForPlays(cd, 1)) << cd.Log();
    EXPECT_EQ(1, FromTrack(StartedPlays(cd)[0]));
    EXPECT_EQ("Script: Alpha/a-one", SstpServer::ScriptOf(sstp.Next()));

    // Another arrival while the disc is there does not start it again.
    BroadcastDeviceChange(true, 'D');
    EXPECT_EQ(1u, StartedPlays(cd).size());

    // Eject while playing: the door opens and nothing else starts.
    player.Command(8);
    EXPECT_TRUE(cd.IsDoorOpen('E'));
    EXPECT_FALSE(cd.LogLines("door=open").empty());
    player.Command(9);
    EXPECT_FALSE(cd.IsDoorOpen('E'));
    EXPECT_EQ(1u, StartedPlays(cd).size());

    // Swap: out goes the first disc, in comes the second.
    cd.RemoveDisc('E');
    BroadcastDeviceChange(false, 'E');
    cd.InsertDisc('E', second);
    BroadcastDeviceChange(true, 'E');
    ASSERT_TRUE(WaitForPlays(cd, 2)) << cd.Log();
    EXPECT_EQ(1, FromTrack(StartedPlays(cd)[1]));
    EXPECT_EQ("Script: Beta/b-one", SstpServer::ScriptOf(sstp.Next()));
    EXPECT_EQ(0, player.Exit());
}

TEST(PlayerScenario, NoDiscADataDiscAndADiscWithoutTitles)
{
    VirtualCd cd;
    cd.SetSpeed(1);
    Installation installation;
    installation.WriteDiscDatabase(DiscEntry("9:00.00", "other", "other", {"other"}));
    SstpServer sstp;
    installation.WriteSstpSettings(sstp.Port(), "Script: $|#|&");
    Player player(installation, cd);
    ASSERT_NE(nullptr, player.window);

    // No disc: the commands do nothing and the player keeps running.
    for (int index : {4, 7, 6, 4})
        player.Command(index);
    EXPECT_TRUE(StartedPlays(cd).empty()) << cd.Log();

    // A data disc arrives: nothing can play.
    cd.InsertDisc('E', "data/10:00.00");
    BroadcastDeviceChange(true, 'E');
    player.Command(4);
    player.Menu(MenuTrackBase + 1);
    EXPECT_TRUE(StartedPlays(cd).empty()) << cd.Log();

    // A music disc without an entry in the database: the default names.
    cd.RemoveDisc('E');
    BroadcastDeviceChange(false, 'E');
    cd.InsertDisc('E', "0:30.00 0:30.00 0:30.00");
    BroadcastDeviceChange(true, 'E');
    ASSERT_TRUE(WaitForPlays(cd, 1)) << cd.Log();
    EXPECT_EQ("Script: トラック 1|（アーティスト名なし）|（タイトルなし）", SstpServer::ScriptOf(sstp.Next()));
    EXPECT_TRUE(player.process.IsRunning());
    EXPECT_EQ(0, player.Exit());
}

}  // namespace
