#include "CdAudioDevice.h"
#include "DiscDatabase.h"
#include "TestSupport.h"
#include "TimeText.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

TEST(DiscDatabaseTest, TitlesArtistsTrackNamesAndTheirDefaults)
{
    TempFolder folder;
    WriteWholeFile(folder.File("cdplayer.ini"),
                   "[D0D2A]\r\ntitle=夜明けの表示\r\nartist=ソナタ楽団\r\n0=はじまり\r\n"
                   "[2C42F]\r\n1=Two\r\n2=Three\r\n");
    ProfileFile database(folder.File("cdplayer.ini").c_str());
    char text[256];
    GetDiscTitle(database, "D0D2A", text, sizeof text);
    EXPECT_STREQ("夜明けの表示", text);
    GetDiscArtist(database, "D0D2A", text, sizeof text);
    EXPECT_STREQ("ソナタ楽団", text);
    GetTrackName(database, "D0D2A", 1, text, sizeof text);
    EXPECT_STREQ("はじまり", text);
    // Track 1 is key "0": a section with "1" and "2" only names tracks 2 and 3.
    GetTrackName(database, "2C42F", 1, text, sizeof text);
    EXPECT_STREQ("トラック 1", text);
    GetTrackName(database, "2C42F", 2, text, sizeof text);
    EXPECT_STREQ("Two", text);

    // A disc without a section, the empty ID of a device that gave none, and
    // no database file at all.
    ProfileFile none;
    const ProfileFile* files[] = {&database, &database, &none};
    const char* ids[] = {"ABCDEF", "", "D0D2A"};
    for (int i = 0; i < 3; ++i) {
        GetDiscTitle(*files[i], ids[i], text, sizeof text);
        EXPECT_STREQ("（タイトルなし）", text) << i;
        GetDiscArtist(*files[i], ids[i], text, sizeof text);
        EXPECT_STREQ("（アーティスト名なし）", text) << i;
        GetTrackName(*files[i], ids[i], 12, text, sizeof text);
        EXPECT_STREQ("トラック 12", text) << i;
    }
}

TEST(DiscDatabaseTest, LongTitlesAreCutAtACharacterWithinTheBuffer)
{
    TempFolder folder;
    std::string title;
    for (int i = 0; i < 100; ++i)
        title += "表";
    WriteWholeFile(folder.File("cdplayer.ini"), "[1]\r\ntitle=A" + title + "\r\nartist=" + title + "\r\n");
    ProfileFile database(folder.File("cdplayer.ini").c_str());

    char text[136];
    memset(text, '#', sizeof text);
    GetDiscTitle(database, "1", text, 128);
    EXPECT_EQ("A" + title.substr(0, 126), text);
    EXPECT_EQ(std::string(8, '#'), std::string(text + 128, 8));  // nothing written past the buffer
    GetDiscArtist(database, "1", text, 128);
    EXPECT_EQ(title.substr(0, 126), text);  // 127 bytes would split a character
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
