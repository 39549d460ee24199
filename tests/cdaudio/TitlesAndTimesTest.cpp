#include "CdDrives.h"
#include "DiscDatabase.h"
#include "RecordingDevice.h"
#include "TestSupport.h"
#include "TimeText.h"
#include "VirtualCd.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

// A database as the operating system's CD player writes it, in Shift_JIS.
const char* DatabaseText =
    "[D0D2A]\r\n"
    "title=夜明けの表示\r\n"
    "artist=ソナタ楽団\r\n"
    "0=はじまり\r\n"
    "1=Second\r\n"
    "[2C42F]\r\n"
    "1=Two\r\n"
    "2=Three\r\n";

TEST(DiscDatabaseTest, TitlesArtistsAndTrackNames)
{
    TempFolder folder;
    WriteWholeFile(folder.File("cdplayer.ini"), DatabaseText);
    ProfileFile database(folder.File("cdplayer.ini").c_str());
    char text[256];

    GetDiscTitle(database, "D0D2A", text, sizeof text);
    EXPECT_STREQ("夜明けの表示", text);
    GetDiscArtist(database, "D0D2A", text, sizeof text);
    EXPECT_STREQ("ソナタ楽団", text);
    GetTrackName(database, "D0D2A", 1, text, sizeof text);
    EXPECT_STREQ("はじまり", text);
    GetTrackName(database, "D0D2A", 2, text, sizeof text);
    EXPECT_STREQ("Second", text);
    GetTrackName(database, "D0D2A", 3, text, sizeof text);
    EXPECT_STREQ("トラック 3", text);

    // Track 1 is key "0": a section with "1" and "2" only names tracks 2 and 3.
    GetTrackName(database, "2C42F", 1, text, sizeof text);
    EXPECT_STREQ("トラック 1", text);
    GetTrackName(database, "2C42F", 2, text, sizeof text);
    EXPECT_STREQ("Two", text);
    GetDiscTitle(database, "2C42F", text, sizeof text);
    EXPECT_STREQ("（タイトルなし）", text);

    // A disc without a section, and the empty ID of a device that gave none.
    for (const char* id : {"ABCDEF", ""}) {
        GetDiscTitle(database, id, text, sizeof text);
        EXPECT_STREQ("（タイトルなし）", text);
        GetDiscArtist(database, id, text, sizeof text);
        EXPECT_STREQ("（アーティスト名なし）", text);
        GetTrackName(database, id, 12, text, sizeof text);
        EXPECT_STREQ("トラック 12", text);
    }

    // No database file found at all.
    ProfileFile none;
    GetTrackName(none, "D0D2A", 1, text, sizeof text);
    EXPECT_STREQ("トラック 1", text);
    GetDiscArtist(none, "D0D2A", text, sizeof text);
    EXPECT_STREQ("（アーティスト名なし）", text);
}

TEST(DiscDatabaseTest, LongTitlesAreCutAtACharacterWithinTheBuffer)
{
    TempFolder folder;
    std::string title;
    for (int i = 0; i < 100; ++i)
        title += "表";
    WriteWholeFile(folder.File("cdplayer.ini"), "[1]\r\ntitle=A" + title + "\r\nartist=" + title + "\r\n");
    ProfileFile database(folder.File("cdplayer.ini").c_str());

    char text[128 + 8];
    memset(text, '#', sizeof text);
    GetDiscTitle(database, "1", text, 128);
    EXPECT_EQ(127u, strlen(text));  // "A" and 63 whole characters
    EXPECT_EQ(0, strncmp(text + 1, title.c_str(), 126));
    for (size_t i = 128; i < sizeof text; ++i)
        EXPECT_EQ('#', text[i]) << i;

    GetDiscArtist(database, "1", text, 128);
    EXPECT_EQ(126u, strlen(text));  // 127 would split the 64th character
    GetDiscArtist(database, "1", text, 256);
    EXPECT_EQ(title, text);

    char tiny[6];
    GetTrackName(database, "1", 3, tiny, sizeof tiny);
    EXPECT_STREQ("トラ", tiny);
}

TEST(DiscDatabaseTest, DatabaseIsFoundOnTheSearchPath)
{
    TempFolder folder;
    WriteWholeFile(folder.File("cdplayer.ini"), DatabaseText);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));

    char path[MAX_PATH];
    LocateDiscDatabase(path, sizeof path);
    char tooSmall[4];
    LocateDiscDatabase(tooSmall, sizeof tooSmall);
    SetCurrentDirectoryA(previous);

    EXPECT_EQ(DatabaseText, ReadWholeFile(path));
    EXPECT_EQ(':', path[1]);
    EXPECT_STREQ("", tooSmall);  // never a path cut short
}

TEST(TimeTextTest, MinutesAndSecondsAndMsf)
{
    char text[16];
    FormatMinSec(3, 5, text, sizeof text);
    EXPECT_STREQ("3:05", text);
    FormatMinSec(75, 30, text, sizeof text);
    EXPECT_STREQ("1:15:30", text);
    FormatMinSec(59, 59, text, sizeof text);
    EXPECT_STREQ("59:59", text);
    FormatMinSec(0, 0, text, sizeof text);
    EXPECT_STREQ("0:00", text);

    FormatMsf(MakeMsf(59, 59, 0), text, sizeof text);
    EXPECT_STREQ("59:59", text);
    FormatMsf(MakeMsf(60, 0, 0), text, sizeof text);
    EXPECT_STREQ("1:00:00", text);
    FormatMsf(MakeMsf(3, 27, 74), text, sizeof text);
    EXPECT_STREQ("3:27", text);
    FormatMsf(MakeMsf(74, 33, 0), text, sizeof text);
    EXPECT_STREQ("1:14:33", text);

    char small[4];
    FormatMsf(MakeMsf(3, 27, 0), small, sizeof small);
    EXPECT_STREQ("3:2", small);
}

TEST(TimeTextTest, TrackTimeJoinsElapsedAndLengthWithFullWidthSolidus)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    device.Answer(MCI_STATUS_CURRENT_TRACK, 2);
    device.Answer(MCI_STATUS_POSITION, MakeMsf(3, 30, 12), 2);
    device.Answer(MCI_STATUS_POSITION, MakeMsf(4, 34, 70));
    device.Answer(MCI_STATUS_LENGTH, MakeMsf(3, 27, 40), 2);

    char text[32];
    FormatTrackTime(device, text, sizeof text);
    EXPECT_STREQ("1:04／3:27", text);
    const char* solidus = strchr(text, '4') + 1;
    EXPECT_EQ(0x81, static_cast<unsigned char>(solidus[0]));
    EXPECT_EQ(0x5E, static_cast<unsigned char>(solidus[1]));

    char small[6];
    FormatTrackTime(device, small, sizeof small);
    EXPECT_STREQ("1:04", small);  // the solidus does not fit whole

    // What the device cannot tell shows as dashes, not as a made-up time.
    device.status.erase({MCI_STATUS_POSITION, 0});
    FormatTrackTime(device, text, sizeof text);
    EXPECT_STREQ("----／3:27", text);
    device.status.erase({MCI_STATUS_CURRENT_TRACK, 0});
    FormatTrackTime(device, text, sizeof text);
    EXPECT_STREQ("----／----", text);
}

TEST(CdDrivesTest, FindsTheCdLettersOfThePrefix)
{
    // The test prefix has D: and E: as CD-ROM letters; C: is a fixed disk.
    EXPECT_EQ(3, FindCdDrive(0));
    EXPECT_EQ(3, FindCdDrive(1));
    EXPECT_EQ(4, FindCdDrive(4));
    int after = FindCdDrive(5);
    EXPECT_TRUE(after == -1 || after > 4);
    EXPECT_EQ(-1, FindCdDrive(26));

    char text[32];
    FormatDriveText(2, text, sizeof text);
    EXPECT_EQ(0, strncmp(text, "&C:", 3));
    FormatDriveText(16, text, sizeof text);
    EXPECT_STREQ("&Q:", text);  // no such drive: the letter alone
}

TEST(CdDrivesTest, DriveTextsShowTheVolumeLabel)
{
    VirtualCd cd;
    char text[32];
    // A drive without a disc answers an empty label here, or none at all.
    FormatDriveText(3, text, sizeof text);
    EXPECT_STREQ("&D:", text);

    cd.SetLabel('E', "MYDISC");
    char label[16] = {};
    GetVolumeInformationA("E:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
    if (strcmp(label, "MYDISC") != 0)
        GTEST_SKIP() << "this Wine session keeps the label it read at its start";
    FormatDriveText(4, text, sizeof text);
    EXPECT_STREQ("&E:  (MYDISC)", text);
}

}  // namespace
