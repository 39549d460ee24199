#include "SstpNotifier.h"

#include "LoopbackListener.h"
#include "Settings.h"
#include "TestSupport.h"
#include "VirtualCd.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <memory>

#include <tlhelp32.h>

namespace {

const char Head[] = "SEND SSTP/1.1\r\nSender: Velkinプレイヤー\r\nCharset: Shift_JIS\r\n";
const char Live[] = "[D0D2A]\r\ntitle=Live\r\nartist=Band\r\n0=Intro\r\n";

class SstpNotifierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cd.InsertDisc('E', "4:08.30 4:50.57 3:00.00");  // disc ID D0D2A
        ASSERT_TRUE(disc.Open(-1));
        ProfileFile none(folder.File("velkin.ini").c_str());
        LoadSettings(none, settings);  // the defaults
        SendTo("127.0.0.1");
        WriteDatabase(Live);
    }

    void SendTo(const char* server)
    {
        settings.SendSstpMsg = 1;
        CopyText(settings.SstpServer, sizeof settings.SstpServer, server);
        settings.SstpPort = static_cast<unsigned short>(listener.Port());
    }

    void WriteDatabase(const std::string& text)
    {
        WriteWholeFile(folder.File("cdplayer.ini"), text);
        database.SetPaths(folder.File("cdplayer.ini").c_str(), folder.File("windows-cdplayer.ini").c_str());
    }

    void SetScript(const std::string& script)
    {
        CopyText(settings.SstpScript, sizeof settings.SstpScript, script.c_str());
    }

    // The script line that the server received, without the fixed lines
    // around it; "<wrong frame>" when they are not there.
    std::string ReceivedScript()
    {
        std::string bytes = listener.ReceiveAll(), head(Head);
        bool framed = bytes.size() >= head.size() + 4 && bytes.compare(0, head.size(), head) == 0 &&
                      bytes.compare(bytes.size() - 4, 4, "\r\n\r\n") == 0;
        return framed ? bytes.substr(head.size(), bytes.size() - head.size() - 4) : "<wrong frame>" + bytes;
    }

    // True when the notifier made a connection.
    bool Connected() { return listener.Accept(300) != INVALID_SOCKET; }

    bool Notify() { return notifier->Notify(); }

    SocketLibrary library;
    LoopbackListener listener;
    TempFolder folder;
    Settings settings;
    VirtualCd cd;
    CdAudioDevice disc;  // goes before the drive file
    DiscTitleStore database;
    std::unique_ptr<SstpNotifier> notifier = std::make_unique<SstpNotifier>(settings, disc, database);
};

int ThreadsOfThisProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// Names come from a file that others fill; the mascot must get them as text,
// never as commands, variables or extra header lines. A large request loses
// nothing at the seams, and many leave no thread or handle behind.
TEST_F(SstpNotifierTest, ScriptsGoOutByteForByteWithTheNamesFilledInAsTextAndLeaveNothingBehind)
{
    SetScript("Script: $");
    EXPECT_TRUE(Notify());
    EXPECT_EQ(std::string(Head) + "Script: Intro\r\n\r\n", listener.ReceiveAll());
    PumpUntil([&] { return !notifier->sender.Busy(); });
    int threads = ThreadsOfThisProcess();
    DWORD handles = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);

    std::string longTitle, longLine = "Script: ";
    for (int i = 0; i < 60; ++i)
        longTitle += "a\\";
    for (int i = 0; i < 100 * 60; ++i)
        longLine += "a\\\\";
    const struct {
        std::string database;
        std::string script;
        std::string line;
    } cases[] = {
        {Live, "Script: $", "Script: Intro"},
        {Live, "Script: &&", "Script: LiveLive"},
        {Live, "Script: %d \\n\\e", "Script: %d \\n\\e"},
        {Live, "Script: #/$/&", "Script: Band/Intro/Live"},
        {Live, "", ""},
        {"[D0D2A]\r\ntitle=Bye\\-\\![open,cmd]\r\nartist=100% Live\r\n0=ソナタ 表\\n\r\n", "Script: \\h[&][#][$]\\e",
         "Script: \\h[Bye\\\\-\\\\![open,cmd]][100\\% Live][ソナタ 表\\\\n]\\e"},
        {"[D0D2A]\r\ntitle=" + longTitle + "\r\n", "Script: " + std::string(100, '&'), longLine},
    };
    for (int round = 0; round < 5; ++round) {
        for (const auto& c : cases) {
            WriteDatabase(c.database);
            SetScript(c.script);
            EXPECT_TRUE(Notify()) << c.script;
            EXPECT_EQ(c.line, ReceivedScript()) << c.script;
        }
    }
    PumpUntil([&] { return !notifier->sender.Busy(); });
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(threads, ThreadsOfThisProcess());
    EXPECT_EQ(handles, handlesAfter);
}

TEST_F(SstpNotifierTest, PresenceCheckOnlyForExactlyLocalhostAndNothingWhenSwitchedOff)
{
    settings.CheckSstpServer = 1;
    SendTo("localhost");
    SetScript("Script: $");
    EXPECT_FALSE(Notify());
    EXPECT_FALSE(Connected()) << "sent although no mascot runs";

    // A mascot that runs with more rights than the player: its mutex grants
    // the player no full access, or none at all. It is there all the same.
    const struct {
        const char* name;
        const char* security;
    } mascots[] = {{"ssp", nullptr}, {"embryo", NoGrants}, {"sakura", SystemOnly}};
    for (const auto& m : mascots) {
        HANDLE mascot = m.security ? CreateGuardedMutex(m.name, m.security) : CreateMutexA(nullptr, FALSE, m.name);
        ASSERT_NE(nullptr, mascot) << m.name;
        if (m.security) {
            ASSERT_EQ(nullptr, OpenMutexA(MUTEX_ALL_ACCESS, FALSE, m.name)) << m.security;
        }
        EXPECT_TRUE(Notify());
        EXPECT_EQ("Script: Intro", ReceivedScript()) << m.name;
        CloseHandle(mascot);
    }

    for (const char* server : {"LOCALHOST", "127.0.0.1", "localhost"}) {
        settings.CheckSstpServer = server[0] != 'l';  // the last one unchecked
        SendTo(server);
        EXPECT_TRUE(Notify()) << server;
        EXPECT_EQ("Script: Intro", ReceivedScript()) << server;
    }

    settings.SendSstpMsg = 0;
    cd.ClearLog();
    EXPECT_FALSE(Notify());
    EXPECT_EQ("", cd.Log());  // not even the drive was asked
    EXPECT_FALSE(Connected());
}

// The player never waits: while a mascot does not answer, the newest four
// requests wait in order, the older are dropped, and at the player's exit
// nobody waits for the connect under way and the waiting ones are dropped.
TEST_F(SstpNotifierTest, ADeadServerHoldsNoOneAndOnlyTheNewestFourWait)
{
    LoopbackListener dead(1);
    ASSERT_TRUE(dead.FillBacklog());
    notifier->connectTimeoutMs = 2000;
    settings.SstpPort = static_cast<unsigned short>(dead.Port());
    EXPECT_TRUE(Notify());
    SendTo("127.0.0.1");
    for (char i = '1'; i <= '6'; ++i) {
        SetScript(std::string("Script: ") + i);
        EXPECT_TRUE(Notify());
    }
    EXPECT_TRUE(notifier->sender.Busy());
    for (char i = '3'; i <= '6'; ++i)
        EXPECT_EQ(std::string("Script: ") + i, ReceivedScript());
    EXPECT_FALSE(Connected());

    settings.SstpPort = static_cast<unsigned short>(dead.Port());
    notifier->connectTimeoutMs = 1500;
    EXPECT_TRUE(Notify());
    SendTo("127.0.0.1");
    EXPECT_TRUE(Notify());
    int threads = ThreadsOfThisProcess();
    notifier.reset();
    EXPECT_EQ(threads, ThreadsOfThisProcess()) << "the connect under way was waited for";
    EXPECT_EQ(INVALID_SOCKET, listener.Accept(3000)) << "sent after the exit";
}

}  // namespace
