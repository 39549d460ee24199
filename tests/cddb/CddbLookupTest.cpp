#include "CddbLookup.h"

#include "CddbTestServer.h"
#include "Text.h"
#include "VirtualCd.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <memory>

namespace {

const char ReadBody[] =
    u8"210 rock 0f034803 CD database entry follows (until terminating `.')\r\n# xmcd\r\nDISCID=0f034803\r\n"
    u8"DTITLE=ヴェルキン / 夜明けの回路\r\nTTITLE0=はじまり\r\nTTITLE1=青い信号\r\nTTITLE2=おやすみ\r\n.\r\n";

struct LookupDeleter {
    void operator()(CddbLookup* lookup) const { DeleteCddbLookup(lookup); }
};
typedef std::unique_ptr<CddbLookup, LookupDeleter> LookupPointer;

class CddbLookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cd.SetShortLastTrack(true);
        cd.InsertDisc('E', "5:00.00 5:00.00 4:00.00");  // 0f034803
        ASSERT_TRUE(device.Open(-1));
        ASSERT_TRUE(ReadTableOfContents(device, toc));
    }

    LookupPointer Lookup(CddbLookupKind kind, DWORD lookupMs = 3000)
    {
        LookupPointer lookup(NewCddbLookup());
        lookup->kind = kind;
        lookup->toc = toc;
        CopyText(lookup->server.host, sizeof lookup->server.host, "127.0.0.1");
        lookup->server.port = static_cast<unsigned short>(server.Port());
        CopyText(lookup->server.path, sizeof lookup->server.path, "/~cddb/cddb.cgi");
        CopyText(lookup->server.email, sizeof lookup->server.email, "someone@example.org");
        CopyText(lookup->server.clientVersion, sizeof lookup->server.clientVersion, "2.01");
        lookup->server.connectTimeoutMs = 1000;
        lookup->server.lookupTimeoutMs = lookupMs;
        return lookup;
    }

    LookupPointer Run(CddbLookupKind kind, DWORD lookupMs = 3000)
    {
        LookupPointer lookup = Lookup(kind, lookupMs);
        RunCddbLookup(*lookup);
        return lookup;
    }

    VirtualCd cd;
    CdAudioDevice device;
    TableOfContents toc;
    CddbTestServer server;
};

const char Hello[] = "&hello=someone+example.org+velkin+2.01&proto=6 HTTP/1.0";

// The drive reports the last track one frame short, as real drivers do: the
// lead-out is still at 842 seconds.
TEST_F(CddbLookupTest, ExactMatchAsksWithTheDrivesTableOfContentsAndReadsTheEntry)
{
    server.Answer("cddb query", CddbQueryBody({u8"rock 0f034803 ヴェルキン / 夜明けの回路"}));
    server.Answer("cddb read rock 0f034803", ReadBody);
    LookupPointer lookup = Run(CddbTakeFirstExact);
    ASSERT_TRUE(lookup->succeeded);
    EXPECT_STREQ("夜明けの回路", lookup->titles.title);
    EXPECT_STREQ("ヴェルキン", lookup->titles.artist);
    ASSERT_EQ(3, lookup->titles.trackCount);
    EXPECT_STREQ("おやすみ", lookup->titles.tracks[2]);

    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(std::string("GET /~cddb/cddb.cgi?cmd=cddb+query+0f034803+3+150+22650+45150+842") + Hello + "\r\n" +
                  "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n",
              requests[0].substr(0, requests[0].find("User-Agent")));
    EXPECT_EQ(std::string("GET /~cddb/cddb.cgi?cmd=cddb+read+rock+0f034803") + Hello,
              server.RequestLines()[1]);

    // Without an address the hello is neutral; an odd one stays two plain words.
    CddbServer where = lookup->server;
    char target[2048];
    where.email[0] = '\0';
    CddbClient(where).FormatTarget("cddb read rock 0f034803", target, sizeof target);
    EXPECT_STREQ("/~cddb/cddb.cgi?cmd=cddb+read+rock+0f034803&hello=anonymous+localhost+velkin+2.01&proto=6", target);
    CopyText(where.email, sizeof where.email, "my name+cd@host&x=1");
    CopyText(where.path, sizeof where.path, "cgi bin/cddb?");
    CddbClient(where).FormatTarget("cddb read rock 0f034803", target, sizeof target);
    EXPECT_STREQ("/cgi%20bin/cddb%3F?cmd=cddb+read+rock+0f034803&hello=my_name_cd+host_x_1+velkin+2.01&proto=6", target);
}

TEST_F(CddbLookupTest, SeveralMatchesGiveTheFirstExactOrTheListToChooseFrom)
{
    server.Answer("cddb query", CddbQueryBody({"jazz 0f034803 Other / Disc", "rock 0f034803 A / B"}));
    // The read comes chunked, as a server may send it.
    server.AnswerRaw({"cddb read jazz 0f034803",
                      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                      "1b\r\n210 jazz 0f034803 entry\r\nDT\r\n16\r\nITLE=Other / Disc\r\n.\r\n\r\n0\r\n\r\n",
                      0, std::string::npos, false});
    LookupPointer first = Run(CddbTakeFirstExact);
    ASSERT_TRUE(first->succeeded);
    EXPECT_STREQ("Disc", first->titles.title);
    EXPECT_STREQ("", first->titles.tracks[0]);

    server.Clear();
    server.Answer("cddb query", CddbQueryBody({"jazz 0f034803 Near / Miss", "rock 0f034803 Close / Call"}, 211));
    server.Answer("cddb read rock 0f034803", ReadBody);
    LookupPointer inexact = Run(CddbTakeFirstExact);
    EXPECT_FALSE(inexact->succeeded) << "an inexact match is not taken without asking";
    EXPECT_EQ(1u, server.Requests().size());

    LookupPointer list = Run(CddbListMatches);
    ASSERT_TRUE(list->succeeded);
    ASSERT_EQ(2, list->matches.count);
    EXPECT_FALSE(list->matches.items[1].exact);
    EXPECT_STREQ("Close / Call", list->matches.items[1].title);

    LookupPointer chosen = Lookup(CddbReadMatch);
    chosen->match = list->matches.items[1];
    RunCddbLookup(*chosen);
    ASSERT_TRUE(chosen->succeeded);
    EXPECT_STREQ("はじまり", chosen->titles.tracks[0]);
}

TEST_F(CddbLookupTest, FailuresAndSlowOrEndlessServersGiveNothingWithinTheBound)
{
    std::string list = CddbQueryBody({"rock 0f034803 A / B", "misc 0f034803 C / D"});
    std::string listWithoutEnd = list.substr(0, list.size() - 3);
    struct Case {
        const char* what;
        CddbTestServer::Rule query;
        CddbTestServer::Rule read;
    } cases[] = {
        {"no match", {"", CddbTestServer::HttpOk("202 No match.\r\n"), 0, std::string::npos, false}, {}},
        {"not CDDB", {"", CddbTestServer::HttpOk("<html>hello</html>"), 0, std::string::npos, false}, {}},
        {"HTTP error", {"", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n", 0, std::string::npos, false}, {}},
        {"cut", {"", CddbTestServer::HttpOk(list), 0, CddbTestServer::HttpOk(list).size() - 3, false}, {}},
        {"cut without a length", {"", "HTTP/1.0 200 OK\r\n\r\n" + listWithoutEnd, 0, std::string::npos, false}, {}},
        {"no entry", {"", CddbTestServer::HttpOk(CddbQueryBody({"rock 0f034803 A / B"})), 0, std::string::npos, false},
         {"", CddbTestServer::HttpOk("401 rock 0f034803 No such CD entry in database.\r\n"), 0, std::string::npos, false}},
        {"too large", {"", CddbTestServer::HttpOk("210 list\r\n" + std::string(300 * 1024, 'x') + "\r\n.\r\n"), 0,
                       std::string::npos, false}, {}},
        {"slow", {"", CddbTestServer::HttpOk(list), 2500, std::string::npos, false}, {}},
        {"endless", {"", "HTTP/1.0 200 OK\r\n\r\n210 list\r\nrock 0f034803 A / B\r\n", 0, std::string::npos, true}, {}},
    };
    for (const Case& c : cases) {
        server.Clear();
        CddbTestServer::Rule query = c.query;
        query.command = "cddb query";
        server.AnswerRaw(query);
        CddbTestServer::Rule read = c.read;
        read.command = "cddb read";
        if (read.response.empty())
            read.response = CddbTestServer::HttpOk(ReadBody);
        server.AnswerRaw(read);
        DWORD start = GetTickCount();
        LookupPointer lookup = Run(CddbTakeFirstExact, 1500);
        printf("%s: failed after %lu ms\n", c.what, GetTickCount() - start);
        EXPECT_FALSE(lookup->succeeded) << c.what;
        EXPECT_EQ(0, lookup->titles.trackCount) << c.what;
        std::string what = c.what;
        EXPECT_EQ(what == "no match" ? CddbQueryNoMatch : what == "no entry" ? CddbQueryMatched : CddbQueryFailed,
                  lookup->queryResult) << c.what << ": the user is told which";
    }
    LookupPointer refused = Lookup(CddbTakeFirstExact);
    refused->server.port = static_cast<unsigned short>(UnusedLoopbackPort());
    RunCddbLookup(*refused);
    EXPECT_FALSE(refused->succeeded);
}

// The answer comes to the window as a message; the thread that started the
// lookup goes on meanwhile.
TEST_F(CddbLookupTest, StartedLookupPostsItsAnswerToTheWindow)
{
    const UINT Done = WM_APP + 77;
    server.Answer("cddb query", CddbQueryBody({"rock 0f034803 A / B"}), 300);
    server.Answer("cddb read", ReadBody);
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    LookupPointer lookup = Lookup(CddbTakeFirstExact);
    CopyText(lookup->tag, sizeof lookup->tag, "2A1F03B");
    ASSERT_TRUE(StartCddbLookup(lookup.release(), window, Done));
    MSG message = {};
    EXPECT_FALSE(PeekMessageA(&message, window, Done, Done, PM_REMOVE)) << "the answer came before the server gave it";
    for (DWORD start = GetTickCount(); !PeekMessageA(&message, window, Done, Done, PM_REMOVE);) {
        ASSERT_LT(GetTickCount() - start, 10000u) << "no answer came";
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
    }
    LookupPointer answer(reinterpret_cast<CddbLookup*>(message.lParam));
    EXPECT_TRUE(answer->succeeded);
    EXPECT_STREQ("2A1F03B", answer->tag);
    EXPECT_STREQ("はじまり", answer->titles.tracks[0]);
    DestroyWindow(window);
}

}  // namespace
