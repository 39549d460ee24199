#include "DriveFile.h"

#include <gtest/gtest.h>

// The drive file as a person writes it for the demo keeps its comments and
// layout when the driver writes the door back.
TEST(VirtualCdTest, DriveFileKeepsComments)
{
    DriveFile file;
    file.SetText("; drives\r\n[Drives]\r\nDefault = D   ; the default\r\n[D]\r\nMedia=1");
    EXPECT_EQ("D", file.Get("Drives", "Default"));
    file.Set("D", "Door", "1");
    file.Set("Drives", "Speed", "5");
    EXPECT_EQ("; drives\r\n[Drives]\r\nDefault = D   ; the default\r\nSpeed=5\r\n[D]\r\nMedia=1\r\nDoor=1\r\n", file.Text());
}
