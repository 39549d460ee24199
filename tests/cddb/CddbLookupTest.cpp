#include "CddbLookup.h"

#include "CddbTestServer.h"
#include "ClientSocket.h"
#include "Text.h"
#include "VirtualCd.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <memory>

namespace {

const char ReadBody[] =
    u8"210 rock 0f034803 CD database entry follows (until terminating `.')\r\n# xmcd\r\nDISCID=0f034803\r\n"
    u8"DTITLE=ヴェルキン / 夜明けの回路\r\nTTITLE0=はじまり\r\nTTITLE1=青い信号\r\nTTITLE2=おやすみ\r\n.\r\n";

typedef std::unique_ptr<CddbLookup, void (*)(CddbLookup*)> LookupPointer;

class CddbLookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cd.SetShortLastTrack(true);
        cd.InsertDisc('E', "5:00.00 5:00.00 4:00.00");  // 0f034803
        ASSERT_TRUE(device.Open(-1));
        ASSERT_TRUE(ReadTableOfContents(device, toc));
    }

    LookupPointer Lookup(DWORD lookupMs = 3000)
    {
        LookupPointer lookup(NewCddbLookup(), DeleteCddbLookup);
        lookup->kind = CddbTakeFirstExact;
        lookup->toc = toc;
        CopyText(lookup->server.host, sizeof lookup->server.host, "127.0.0.1");
        lookup->server.port = static_cast<unsigned short>(server.Port());
        // A path and an address as a user may type them.
        CopyText(lookup->server.path, sizeof lookup->server.path, "cgi bin/cddb?");
        CopyText(lookup->server.email, sizeof lookup->server.email, "my name+cd@host&x=1");
        CopyText(lookup->server.clientVersion, sizeof lookup->server.clientVersion, "2.01");
        lookup->server.connectTimeoutMs = 1000;
        lookup->server.lookupTimeoutMs = lookupMs;
        return lookup;
    }

    VirtualCd cd;
    CdAudioDevice device;
    TableOfContents toc;
    CddbTestServer server;
};

HANDLE nameService;
LONG nameServiceAnswered;
hostent* PASCAL SilentNameService(const char*)
{
    WaitForSingleObject(nameService, 30000);
    InterlockedExchange(&nameServiceAnswered, 1);
    return nullptr;
}

// The path escaped, the address two plain words.
const char Target[] = "GET /cgi%20bin/cddb%3F?cmd=";
const char Hello[] = "&hello=my_name_cd+host_x_1+velkin+2.01&proto=6 HTTP/1.0";

// The drive reports the last track one frame short, as real drivers do: the
// lead-out is still at 842 seconds.
TEST_F(CddbLookupTest, AsksWithTheDrivesTableOfContentsAndReadsTheFirstExactMatch)
{
    server.Answer("cddb query", CddbQueryBody({u8"rock 0f034803 ヴェルキン / 夜明けの回路"}));
    server.Answer("cddb read rock 0f034803", ReadBody);
    LookupPointer lookup = Lookup();
    RunCddbLookup(*lookup);
    ASSERT_TRUE(lookup->succeeded);
    EXPECT_STREQ("おやすみ", lookup->titles.tracks[2]);

    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(std::string(Target) + "cddb+query+0f034803+3+150+22650+45150+842" + Hello + "\r\nHost: 127.0.0.1:" +
                  std::to_string(server.Port()) + "\r\n",
              requests[0].substr(0, requests[0].find("User-Agent")));
    EXPECT_EQ(std::string(Target) + "cddb+read+rock+0f034803" + Hello, server.RequestLines()[1]);

    // Several matches give the first exact; the read comes chunked, as a
    // server may send it.
    server.Clear();
    server.Answer("cddb query", CddbQueryBody({"jazz 0f034803 Other / Disc", "rock 0f034803 A / B"}));
    server.AnswerRaw({"cddb read jazz 0f034803",
                      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                      "1b\r\n210 jazz 0f034803 entry\r\nDT\r\n16\r\nITLE=Other / Disc\r\n.\r\n\r\n0\r\n\r\n"});
    // Without an address the hello names no one.
    lookup = Lookup();
    lookup->server.email[0] = '\0';
    RunCddbLookup(*lookup);
    ASSERT_TRUE(lookup->succeeded);
    EXPECT_STREQ("Disc", lookup->titles.title);
    EXPECT_STREQ("", lookup->titles.tracks[0]);
    EXPECT_EQ(std::string(Target) + "cddb+read+jazz+0f034803&hello=anonymous+localhost+velkin+2.01&proto=6 HTTP/1.0",
              server.RequestLines()[1]);
}

// Every answer that gives no titles, and the user is told which kind it was.
TEST_F(CddbLookupTest, FailuresAndSlowOrEndlessServersGiveNothingWithinTheBound)
{
    using Rule = CddbTestServer::Rule;
    const auto Ok = &CddbTestServer::HttpOk;
    std::string list = CddbQueryBody({"rock 0f034803 A / B", "misc 0f034803 C / D"});
    std::string one = CddbQueryBody({"rock 0f034803 A / B"});
    std::string inexact = CddbQueryBody({"jazz 0f034803 Near / Miss", "rock 0f034803 Close / Call"}, 211);
    const struct {
        const char* what;
        Rule query;
        Rule read;
        CddbQueryResult result;
        const char* said = "";  // the server's status line, shown to the user
    } cases[] = {
        {"no match", {"", Ok("202 No match.\r\n")}, {}, CddbQueryNoMatch},
        {"not CDDB", {"", Ok("<html>hello</html>")}, {}, CddbQueryFailed},
        {"HTTP error", {"", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"}, {}, CddbQueryFailed, "404 Not Found"},
        {"unknown program", {"", Ok("500 Unknown developer email\xE2\x80\x94\tx\r\n500 more\r\n")}, {}, CddbQueryFailed,
         "500 Unknown developer email????x"},
        {"cut", {"", Ok(list), 0, Ok(list).size() - 3}, {}, CddbQueryFailed},
        {"cut, no length", {"", "HTTP/1.0 200 OK\r\n\r\n" + list.substr(0, list.size() - 3)}, {}, CddbQueryFailed},
        {"inexact, not taken unasked", {"", Ok(inexact)}, {}, CddbQueryMatched},
        {"no entry", {"", Ok(one)}, {"", Ok("401 rock 0f034803 No such CD entry in database.\r\n")}, CddbQueryMatched,
         "401 rock 0f034803 No such CD entry in database."},
        {"too large", {"", Ok("210 list\r\n" + std::string(300 * 1024, 'x') + "\r\n.\r\n")}, {}, CddbQueryFailed},
        {"slow", {"", Ok(list), 2500}, {}, CddbQueryFailed},
        {"endless", {"", "HTTP/1.0 200 OK\r\n\r\n210 list\r\nrock 0f034803 A / B\r\n", 0, std::string::npos, true}, {},
         CddbQueryFailed},
    };
    for (const auto& c : cases) {
        server.Clear();
        Rule query = c.query, read = c.read;
        query.command = "cddb query";
        read.command = "cddb read";
        if (read.response.empty())
            read.response = Ok(ReadBody);
        server.AnswerRaw(query);
        server.AnswerRaw(read);
        DWORD start = GetTickCount();
        LookupPointer lookup = Lookup(1500);
        RunCddbLookup(*lookup);
        printf("%s: failed after %lu ms\n", c.what, GetTickCount() - start);
        EXPECT_FALSE(lookup->succeeded) << c.what;
        EXPECT_EQ(0, lookup->titles.trackCount) << c.what;
        EXPECT_EQ(c.result, lookup->queryResult) << c.what;
        EXPECT_STREQ(c.said, lookup->serverSaid) << c.what;
    }
    LookupPointer refused = Lookup();
    refused->server.port = static_cast<unsigned short>(UnusedLoopbackPort());
    RunCddbLookup(*refused);
    EXPECT_FALSE(refused->succeeded);

    // A name service that does not answer is inside the lookup's bound.
    nameService = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ClientSocket::lookUpName = SilentNameService;
    LookupPointer unnamed = Lookup(500);
    CopyText(unnamed->server.host, sizeof unnamed->server.host, "cddb.example");
    RunCddbLookup(*unnamed);
    EXPECT_FALSE(unnamed->succeeded);
    EXPECT_EQ(0, nameServiceAnswered) << "the lookup waited for the name service";
    SetEvent(nameService);
    ClientSocket::lookUpName = gethostbyname;
}

}  // namespace
