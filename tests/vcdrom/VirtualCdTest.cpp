#include "DriveFile.h"
#include "VirtualCd.h"

#include <gtest/gtest.h>

TEST(VirtualCdTest, EditsTheDriveFileKeyByKeyAndKeepsOtherLines)
{
    VirtualCd cd;
    char env[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableA("VCDAUDIO_STATE", env, sizeof env), 0u);
    EXPECT_EQ(cd.StatePath(), env);
    EXPECT_EQ(cd.Value("Drives", "Default"), "E");

    cd.InsertDisc('e', "3:27.40 data/1:00.00", "4988001234567");
    cd.SetValue("Drives", "Note", "kept");
    cd.SetDoor('E', true);
    EXPECT_TRUE(cd.IsDoorOpen('E'));
    EXPECT_FALSE(cd.IsDoorOpen('D'));
    cd.RemoveDisc('E');

    DriveFile file;
    ASSERT_TRUE(file.Load(cd.StatePath()));
    EXPECT_EQ(file.Get("e", "tracks"), "3:27.40 data/1:00.00");
    EXPECT_EQ(file.Get("E", "Upc"), "4988001234567");
    EXPECT_EQ(file.GetInt("E", "Media", -1), 0);
    EXPECT_EQ(file.GetInt("E", "Door", -1), 1);
    EXPECT_EQ(file.Get("Drives", "Note"), "kept");
    EXPECT_EQ(file.GetInt("Drives", "Speed", 0), 100);
}

TEST(VirtualCdTest, ReadsValuesWithCommentsAndWithoutAFinalLineBreak)
{
    DriveFile file;
    file.SetText("; drives\r\n[Drives]\r\nDefault = D   ; the default\r\n[D]\r\nMedia=1");
    EXPECT_EQ(file.Get("Drives", "Default"), "D");
    EXPECT_EQ(file.GetInt("D", "Media", 0), 1);
    EXPECT_EQ(file.Get("D", "Door", "none"), "none");
    file.Set("D", "Door", "1");
    file.Set("Drives", "Speed", "5");
    EXPECT_EQ(file.Text(), "; drives\r\n[Drives]\r\nDefault = D   ; the default\r\nSpeed=5\r\n[D]\r\nMedia=1\r\nDoor=1\r\n");
}

TEST(VirtualCdTest, LogLinesFiltersAndClearLogEmpties)
{
    VirtualCd cd;
    WriteWholeFile(cd.LogPath(), "1 E OPEN flags=0x3100 type=516 -> 0\r\n1 E STOP flags=0x2 -> 0\r\n");
    ASSERT_EQ(cd.LogLines("STOP").size(), 1u);
    EXPECT_EQ(cd.LogLines("STOP")[0], "1 E STOP flags=0x2 -> 0");
    EXPECT_EQ(cd.LogLines().size(), 2u);
    cd.ClearLog();
    EXPECT_EQ(cd.Log(), "");
}

TEST(VirtualCdTest, SetLabelIsSeenByGetVolumeInformationAtOnce)
{
    char label[16];
    {
        VirtualCd cd;
        cd.SetLabel('E', "MYDISC");
        ASSERT_TRUE(GetVolumeInformationA("E:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
        EXPECT_STREQ(label, "MYDISC");
        cd.SetLabel('E', "OTHER");
        ASSERT_TRUE(GetVolumeInformationA("E:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
        EXPECT_STREQ(label, "OTHER");
    }
    // Gone with the helper; the letter stays a CD drive.
    EXPECT_EQ(GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_CDROM));
    ASSERT_TRUE(GetVolumeInformationA("E:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_STREQ(label, "");
}
