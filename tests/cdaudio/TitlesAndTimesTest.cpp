#include "CdDrives.h"
#include "DiscDatabase.h"
#include "RecordingDevice.h"
#include "TestSupport.h"
#include "TimeText.h"
#include "VirtualCd.h"

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
    struct {
        const ProfileFile* file;
        const char* id;
    } missing[] = {{&database, "ABCDEF"}, {&database, ""}, {&none, "D0D2A"}};
    for (const auto& m : missing) {
        GetDiscTitle(*m.file, m.id, text, sizeof text);
        EXPECT_STREQ("（タイトルなし）", text);
        GetDiscArtist(*m.file, m.id, text, sizeof text);
        EXPECT_STREQ("（アーティスト名なし）", text);
        GetTrackName(*m.file, m.id, 12, text, sizeof text);
        EXPECT_STREQ("トラック 12", text);
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

TEST(DiscDatabaseTest, DatabaseIsFoundOnTheSearchPath)
{
    TempFolder folder;
    WriteWholeFile(folder.File("cdplayer.ini"), "[1]\r\ntitle=found\r\n");
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    char path[MAX_PATH];
    LocateDiscDatabase(path, sizeof path);
    char tooSmall[4];
    LocateDiscDatabase(tooSmall, sizeof tooSmall);
    SetCurrentDirectoryA(previous);

    EXPECT_EQ("[1]\r\ntitle=found\r\n", ReadWholeFile(path));
    EXPECT_STREQ("", tooSmall);  // never a path cut short
}

TEST(TimeTextTest, MinutesSecondsAndMsf)
{
    char text[16];
    FormatMinSec(3, 5, text, sizeof text);
    EXPECT_STREQ("3:05", text);
    FormatMinSec(75, 30, text, sizeof text);
    EXPECT_STREQ("1:15:30", text);
    FormatMsf(MakeMsf(59, 59, 0), text, sizeof text);
    EXPECT_STREQ("59:59", text);
    FormatMsf(MakeMsf(60, 0, 0), text, sizeof text);
    EXPECT_STREQ("1:00:00", text);
    FormatMsf(MakeMsf(3, 27, 74), text, sizeof text);
    EXPECT_STREQ("3:27", text);
}

TEST(TimeTextTest, TrackTimeJoinsElapsedAndLengthWithFullWidthSolidus)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    device.status[{MCI_STATUS_CURRENT_TRACK, 0}] = 2;
    device.status[{MCI_STATUS_POSITION, 2}] = MakeMsf(3, 30, 12);
    device.status[{MCI_STATUS_POSITION, 0}] = MakeMsf(4, 34, 70);  // 64 s into track 2
    device.status[{MCI_STATUS_LENGTH, 2}] = MakeMsf(3, 27, 40);

    char text[32];
    FormatTrackTime(device, text, sizeof text);
    EXPECT_STREQ("1:04\x81\x5E" "3:27", text);
    char small[6];
    FormatTrackTime(device, small, sizeof small);
    EXPECT_STREQ("1:04", small);  // the solidus does not fit whole

    // What the device cannot tell shows as dashes, not as a made-up time.
    device.status.erase({MCI_STATUS_CURRENT_TRACK, 0});
    FormatTrackTime(device, text, sizeof text);
    EXPECT_STREQ("----／----", text);
}

TEST(CdDrivesTest, CdLettersAndTheirTexts)
{
    // The test prefix has D: and E: as CD-ROM letters; C: is a fixed disk.
    EXPECT_EQ(3, FindCdDrive(1));
    EXPECT_EQ(4, FindCdDrive(4));
    EXPECT_EQ(-1, FindCdDrive(26));

    VirtualCd cd;
    char text[32];
    FormatDriveText(16, text, sizeof text);
    EXPECT_STREQ("&Q:", text);  // no such drive
    FormatDriveText(3, text, sizeof text);
    EXPECT_STREQ("&D:", text);  // no disc: no label, or an empty one under Wine

    cd.SetLabel('E', "MYDISC");
    char label[16] = {};
    GetVolumeInformationA("E:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
    if (strcmp(label, "MYDISC") != 0)
        GTEST_SKIP() << "this Wine session keeps the label it read at its start";
    FormatDriveText(4, text, sizeof text);
    EXPECT_STREQ("&E:  (MYDISC)", text);
}

}  // namespace
