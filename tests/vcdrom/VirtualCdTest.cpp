#include "DriveFile.h"
#include "VirtualCd.h"

#include <gtest/gtest.h>

// The drive file as a person writes it for the demo, and the drive's label.
TEST(VirtualCdTest, DriveFileKeepsCommentsAndTheLabelIsSeenAtOnce)
{
    DriveFile file;
    file.SetText("; drives\r\n[Drives]\r\nDefault = D   ; the default\r\n[D]\r\nMedia=1");
    EXPECT_EQ("D", file.Get("Drives", "Default"));
    file.Set("D", "Door", "1");
    file.Set("Drives", "Speed", "5");
    EXPECT_EQ("; drives\r\n[Drives]\r\nDefault = D   ; the default\r\nSpeed=5\r\n[D]\r\nMedia=1\r\nDoor=1\r\n", file.Text());

    char label[16];
    {
        VirtualCd cd;
        for (const char* name : {"MYDISC", "OTHER"}) {
            cd.SetLabel('E', name);
            ASSERT_TRUE(GetVolumeInformationA("E:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
            EXPECT_STREQ(name, label);
        }
    }
    // Gone with the helper; the letter stays a CD drive.
    EXPECT_EQ(static_cast<UINT>(DRIVE_CDROM), GetDriveTypeA("E:\\"));
    ASSERT_TRUE(GetVolumeInformationA("E:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_STREQ("", label);
}
