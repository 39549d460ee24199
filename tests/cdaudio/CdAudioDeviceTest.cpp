// The device against the real winmm and the virtual CD drive of the test
// prefix, as the player meets it; the drive's log shows the exact commands.
#include "CdAudioDevice.h"
#include "TimeText.h"
#include "VirtualCd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Track starts 00:02:00, 04:10:30 and 09:01:12.
const char* const ThreeTracks = "4:08.30 4:50.57 3:00.00";

std::vector<WPARAM> notified;

LRESULT CALLBACK CollectNotifications(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == MM_MCINOTIFY)
        notified.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

class CdAudioDeviceTest : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass = {0, CollectNotifications, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 "CdAudioTestNotify"};
        RegisterClassA(&windowClass);
        window = CreateWindowA("CdAudioTestNotify", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        device.SetNotifyWindow(window);
        notified.clear();
    }
    void TearDown() override { DestroyWindow(window); }

    // The count-th notification since the test began; 0 when it did not come.
    WPARAM Notification(size_t count)
    {
        return PumpUntil([&] { return notified.size() >= count; }, 20000) ? notified[count - 1] : 0;
    }

    VirtualCd cd;
    HWND window = nullptr;
    CdAudioDevice device;  // goes first, while the drive file is still there
};

TEST_F(CdAudioDeviceTest, OpenIdentifySeekAndFailWithoutADisc)
{
    cd.InsertDisc('E', ThreeTracks, "4988001234567");
    ASSERT_TRUE(device.Open(-1));  // the default drive, E:
    EXPECT_EQ(CdModeStopped, device.GetMode());
    EXPECT_EQ(3, device.GetTrackCount());
    char text[32];
    device.GetDiscId(text, sizeof text);
    EXPECT_STREQ("D0D2A", text);
    EXPECT_EQ(-1, device.GetUpc());  // 13 digits do not fit a long
    EXPECT_TRUE(device.GetUpcText(text, sizeof text));
    EXPECT_STREQ("4988001234567", text);
    EXPECT_EQ(MakeMsf(4, 50, 57), static_cast<DWORD>(device.GetTrackLength(2)));
    // The query in MSF left the device in TMSF again.
    ASSERT_TRUE(device.Seek(2, 1, 5, 20));
    EXPECT_EQ(MakeMsf(5, 15, 50), static_cast<DWORD>(device.GetPosition()));  // 4:10.30 + 1:05.20
    EXPECT_EQ(65, device.GetTrackElapsedSeconds());
    FormatTrackTime(device, text, sizeof text);
    EXPECT_STREQ("1:05\x81\x5E" "4:50", text);
    ASSERT_TRUE(device.Seek(0, 0, 0, 0));
    EXPECT_EQ(MakeMsf(0, 2, 0), static_cast<DWORD>(device.GetPosition()));

    ASSERT_TRUE(device.Close());
    ASSERT_TRUE(device.Open(4));
    EXPECT_EQ(1u, cd.LogLines("E OPEN flags=0x3100 type=516 -> 0").size()) << cd.Log();
    EXPECT_EQ(1u, cd.LogLines("E OPEN flags=0x3300 element=E: type=516 -> 0").size()) << cd.Log();
    cd.InsertDisc('E', "40:10.33", "123456");  // lead-out at 40:12.33
    device.GetDiscId(text, sizeof text);
    EXPECT_STREQ("2C42F", text);  // fewer than 3 tracks: the lead-out counts too
    EXPECT_EQ(123456, device.GetUpc());

    // One data track is no audio disc and does not play; two tracks count
    // as audio whatever they are.
    cd.InsertDisc('E', "data/1:00.00");
    EXPECT_FALSE(device.IsAudioDisc());
    EXPECT_FALSE(device.PlayTracks(1, 1, false));
    cd.InsertDisc('E', "data/1:00.00 data/2:00.00");
    EXPECT_TRUE(device.IsAudioDisc());

    cd.RemoveDisc('E');
    EXPECT_EQ(CdModeNotReady, device.GetMode());
    EXPECT_TRUE(!device.IsMediaPresent() && device.GetTrackCount() == -1);
    device.GetDiscId(text, sizeof text);
    EXPECT_STREQ("", text);

    // After a failed open every command fails.
    cd.InsertDisc('E', ThreeTracks);
    ASSERT_TRUE(device.Close());
    EXPECT_FALSE(device.Open(7));  // H: is no drive of the virtual CD
    EXPECT_TRUE(device.GetMode() == -1 && device.GetTrackCount() == -1 && !device.IsMediaPresent());
    EXPECT_FALSE(device.PlayTracks(1, 1, true) || device.Seek(1, 0, 0, 0));
    FormatTrackTime(device, text, sizeof text);
    EXPECT_STREQ("----／----", text);  // dashes, not a made-up time
    DrainMessages();
    EXPECT_TRUE(notified.empty());
    ASSERT_TRUE(device.Open(4));
    EXPECT_EQ(3, device.GetTrackCount());
}

TEST_F(CdAudioDeviceTest, PlayTracksSendsTheRangeAndReportsHowThePlayEnded)
{
    cd.SetSpeed(1000);
    cd.InsertDisc('E', "0:05.00 0:05.00 3:27.40 4:00.10 0:05.00 0:05.00 0:05.00 0:05.00 0:05.00 20:00.00");
    ASSERT_TRUE(device.Open(4));
    ASSERT_TRUE(device.PlayTracks(3, 3, true));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL), Notification(1));
    EXPECT_EQ(3, device.GetCurrentTrack());  // ended a second before track 4
    EXPECT_EQ(CdModeStopped, device.GetMode());

    ASSERT_TRUE(device.PlayTracks(2, 4, false));
    cd.SetSpeed(1);
    ASSERT_TRUE(device.PlayTracks(10, 10, true));
    EXPECT_EQ(CdModePlaying, device.GetMode());
    const char* plays[] = {
        "E PLAY flags=0xD from=0x00000003 to=0x281A0303 -> 0",  // to 3:26.40
        "E PLAY flags=0xC from=0x00000002 to=0x0A3B0304 -> 0",  // 4:00.10 ends at 3:59.10
        "E PLAY flags=0x5 from=0x0000000A -> 0",                // the final track: to the end
    };
    for (const char* play : plays)
        EXPECT_EQ(1u, cd.LogLines(play).size()) << play << "\n" << cd.Log();

    ASSERT_TRUE(device.PlayTracks(10, 10, true));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUPERSEDED), Notification(2));
    ASSERT_TRUE(device.Stop());
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_ABORTED), Notification(3));
}

}  // namespace
