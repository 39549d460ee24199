#include "CdAudioDevice.h"
#include "DiscDatabase.h"
#include "TestSupport.h"
#include "TimeText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What a lookup gives: the title for track -1, the artist for 0, else the track's name.
std::string Lookup(const ProfileFile& file, const char* id, int track, size_t size = 256)
{
    char text[256];
    if (track < 0)
        GetDiscTitle(file, id, text, size);
    else if (track == 0)
        GetDiscArtist(file, id, text, size);
    else
        GetTrackName(file, id, track, text, size);
    return text;
}

TEST(DiscDatabaseTest, TitlesArtistsTrackNamesTheirDefaultsAndCutsWithinTheBuffer)
{
    TempFolder folder;
    std::string wide(200, ' ');
    for (size_t i = 0; i < wide.size(); i += 2)
        wide.replace(i, 2, "表");
    WriteWholeFile(folder.File("cdplayer.ini"), "[D0D2A]\r\ntitle=夜明けの表示\r\nartist=ソナタ楽団\r\n0=はじまり\r\n"
                                                "[2C42F]\r\n1=Two\r\n2=Three\r\n"
                                                "[1]\r\ntitle=A" + wide + "\r\nartist=" + wide + "\r\n");
    ProfileFile database(folder.File("cdplayer.ini").c_str()), none;
    // Track 1 is key "0": a section with "1" and "2" only names tracks 2 and 3.
    struct { const ProfileFile* file; const char* id; int track; std::string expected; } cases[] = {
        {&database, "D0D2A", -1, "夜明けの表示"}, {&database, "D0D2A", 0, "ソナタ楽団"},
        {&database, "D0D2A", 1, "はじまり"}, {&database, "2C42F", 1, "トラック 1"}, {&database, "2C42F", 2, "Two"},
        // A disc without a section, the empty ID of a device that gave none, no database file.
        {&database, "ABCDEF", -1, "（タイトルなし）"}, {&database, "", 0, "（アーティスト名なし）"},
        {&none, "D0D2A", 12, "トラック 12"}, {&none, "D0D2A", -1, "（タイトルなし）"},
        // Cut at a character within a 128-byte buffer: 127 bytes would split one.
        {&database, "1", -1, "A" + wide.substr(0, 126)}, {&database, "1", 0, wide.substr(0, 126)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Lookup(*c.file, c.id, c.track, c.expected.size() > 100 ? 128 : 256)) << c.id << c.track;
}

TEST(TimeTextTest, MinutesSecondsAndMsf)
{
    char text[16];
    FormatMinSec(75, 30, text, sizeof text);
    EXPECT_STREQ("1:15:30", text);
    const DWORD msf[] = {MakeMsf(3, 5, 0), MakeMsf(59, 59, 0), MakeMsf(60, 0, 0), MakeMsf(3, 27, 74)};
    const char* expected[] = {"3:05", "59:59", "1:00:00", "3:27"};
    for (int i = 0; i < 4; ++i) {
        FormatMsf(msf[i], text, sizeof text);
        EXPECT_STREQ(expected[i], text);
    }
}

}  // namespace
