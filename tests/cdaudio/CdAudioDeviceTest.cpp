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
const WPARAM Successful = MCI_NOTIFY_SUCCESSFUL, Superseded = MCI_NOTIFY_SUPERSEDED, Aborted = MCI_NOTIFY_ABORTED;

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

    // The next notification not yet looked at; 0 when none came in time.
    WPARAM Next(DWORD timeoutMs = 20000)
    {
        return PumpUntil([&] { return notified.size() > seen; }, timeoutMs) ? notified[seen++] : 0;
    }
    DWORD Position() { return static_cast<DWORD>(device.GetPosition()); }

    VirtualCd cd;
    HWND window = nullptr;
    size_t seen = 0;
    CdAudioDevice device;  // goes first, while the drive file is still there
};

TEST_F(CdAudioDeviceTest, OpenIdentifyAndSeekADiscAndNoDisc)
{
    cd.InsertDisc('E', ThreeTracks, "4988001234567");
    ASSERT_TRUE(device.Open(-1));  // the default drive, E:
    EXPECT_EQ(CdModeStopped, device.GetMode());
    EXPECT_EQ(3, device.GetTrackCount());
    char text[32];
    device.GetDiscId(text, sizeof text);
    EXPECT_STREQ("D0D2A", text);
    EXPECT_TRUE(device.GetUpcText(text, sizeof text));
    EXPECT_STREQ("4988001234567", text);
    EXPECT_EQ(MakeMsf(4, 50, 57), static_cast<DWORD>(device.GetTrackLength(2)));
    // The query in MSF left the device in TMSF again.
    ASSERT_TRUE(device.Seek(2, 1, 5, 20));
    EXPECT_EQ(MakeMsf(5, 15, 50), Position());  // 4:10.30 + 1:05.20
    EXPECT_EQ(65, device.GetTrackElapsedSeconds());
    FormatTrackTime(device, text, sizeof text);
    EXPECT_STREQ("1:05\x81\x5E" "4:50", text);
    ASSERT_TRUE(device.Seek(0, 0, 0, 0));
    EXPECT_EQ(MakeMsf(0, 2, 0), Position());

    ASSERT_TRUE(device.Close());
    ASSERT_TRUE(device.Open(4));
    EXPECT_EQ(1u, cd.LogLines("E OPEN flags=0x3100 type=516 -> 0").size()) << cd.Log();
    EXPECT_EQ(1u, cd.LogLines("E OPEN flags=0x3300 element=E: type=516 -> 0").size()) << cd.Log();
    cd.InsertDisc('E', "40:10.33");  // lead-out at 40:12.33
    device.GetDiscId(text, sizeof text);
    EXPECT_STREQ("2C42F", text);  // fewer than 3 tracks: the lead-out counts too

    cd.RemoveDisc('E');
    EXPECT_EQ(CdModeNotReady, device.GetMode());
    EXPECT_TRUE(!device.IsMediaPresent() && device.GetTrackCount() == -1);
    device.GetDiscId(text, sizeof text);
    EXPECT_STREQ("", text);

    // Without a letter the drive opened is the one the system calls its default.
    cd.SetDefaultDrive('D');
    cd.InsertDisc('D', "1:00.00 2:00.00");
    ASSERT_TRUE(device.Close());
    ASSERT_TRUE(device.Open(-1));
    EXPECT_EQ(2, device.GetTrackCount());
}

TEST_F(CdAudioDeviceTest, PlayTracksSendsTheRangeAndReportsHowThePlayEnded)
{
    cd.SetSpeed(1000);
    cd.InsertDisc('E', "0:05.00 0:05.00 3:27.40 4:00.10 0:05.00 0:05.00 0:05.00 0:05.00 0:05.00 20:00.00");
    ASSERT_TRUE(device.Open(4));
    ASSERT_TRUE(device.PlayTracks(3, 3, true));
    EXPECT_EQ(Successful, Next());
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
    EXPECT_EQ(Superseded, Next());
    ASSERT_TRUE(device.Stop());
    EXPECT_EQ(Aborted, Next());
}

// The virtual drive as the player tests need it to be: like the drives users
// have, the door and a disc taken out abort a play; like Wine's, it may never
// report a play's end.
TEST_F(CdAudioDeviceTest, TheVirtualDriveAbortsPlaysAndMayEndThemInSilence)
{
    cd.SetSpeed(1000);
    cd.InsertDisc('E', "0:20.00 0:30.00");
    ASSERT_TRUE(device.Open(4));
    ASSERT_TRUE(device.PlayTracks(2, 2, true));  // the final track: to the end of the disc
    EXPECT_EQ(Successful, Next());
    EXPECT_EQ(MakeMsf(0, 52, 0), Position());
    cd.SetEndNotify('E', false);
    ASSERT_TRUE(device.PlayRange(MakeTmsf(1, 0, 1, 0), MakeTmsf(1, 0, 11, 0), true));
    EXPECT_EQ(0u, Next(500));
    EXPECT_EQ(CdModeStopped, device.GetMode());
    EXPECT_EQ(MakeMsf(0, 13, 0), Position());
    // The next play sends the waiting notification as superseded, a stop as aborted.
    ASSERT_TRUE(device.PlayTracks(2, 2, true));
    EXPECT_EQ(Superseded, Next());
    EXPECT_EQ(0u, Next(500));
    ASSERT_TRUE(device.Stop());
    EXPECT_EQ(Aborted, Next());
    cd.SetEndNotify('E', true);

    cd.SetSpeed(100);
    cd.InsertDisc('E', "40:00.00 30:00.00");
    ASSERT_TRUE(device.Play(true));
    ASSERT_TRUE(device.OpenDoor());
    EXPECT_EQ(Aborted, Next());
    EXPECT_EQ(CdModeDoorOpen, device.GetMode());
    EXPECT_FALSE(device.IsMediaPresent());
    EXPECT_FALSE(device.Play(false)) << "a disc in an open tray does not play";
    ASSERT_TRUE(device.CloseDoor());
    EXPECT_EQ(CdModeStopped, device.GetMode());

    ASSERT_TRUE(device.Play(true));
    cd.RemoveDisc('E');  // seen even though no command follows
    EXPECT_EQ(Aborted, Next());
    EXPECT_EQ(CdModeNotReady, device.GetMode());
}

}  // namespace
