// The device against the real winmm and the virtual CD drive of the test
// prefix, as the player meets it.
#include "CdAudioDevice.h"
#include "TimeText.h"
#include "VirtualCd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Track starts 00:02:00, 04:10:30 and 09:01:12.
const char* ThreeTracks = "4:08.30 4:50.57 3:00.00";

// Receives the device's completion notifications.
class NotifyWindow {
public:
    NotifyWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.lpszClassName = "CdAudioTestNotify";
        RegisterClassA(&windowClass);
        handle = CreateWindowA("CdAudioTestNotify", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~NotifyWindow() { DestroyWindow(handle); }

    static std::vector<WPARAM> codes;
    HWND handle;

    bool WaitFor(size_t count) { return PumpUntil([&] { return codes.size() >= count; }, 20000); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == MM_MCINOTIFY)
            codes.push_back(wParam);
        return DefWindowProcA(window, message, wParam, lParam);
    }
};
std::vector<WPARAM> NotifyWindow::codes;

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

class VirtualDriveTest : public testing::Test {
protected:
    void SetUp() override
    {
        NotifyWindow::codes.clear();
        device.SetNotifyWindow(window.handle);
    }

    VirtualCd cd;
    NotifyWindow window;
    CdAudioDevice device;  // destroyed first, while the drive file is still there
};

TEST_F(VirtualDriveTest, OpenReachesTheDriveAndReadsTheDisc)
{
    cd.InsertDisc('E', ThreeTracks, "4988001234567");
    cd.InsertDisc('D', "40:10.33", "123456");  // lead-out at 40:12.33

    ASSERT_TRUE(device.Open(-1));  // the default drive, E:
    EXPECT_EQ(CdModeStopped, device.GetMode());
    EXPECT_EQ(3, device.GetTrackCount());
    EXPECT_EQ(MakeMsf(4, 8, 30), static_cast<DWORD>(device.GetTrackLength(1)));
    EXPECT_EQ(MakeMsf(9, 1, 12), static_cast<DWORD>(device.GetTrackStart(3)));
    char text[16];
    device.GetDiscId(text, sizeof text);
    EXPECT_STREQ("D0D2A", text);
    EXPECT_EQ(-1, device.GetUpc());  // 13 digits do not fit a long
    EXPECT_TRUE(device.GetUpcText(text, sizeof text));
    EXPECT_STREQ("4988001234567", text);

    ASSERT_TRUE(device.Close());
    ASSERT_TRUE(device.Open(3));
    std::vector<std::string> opens = cd.LogLines(" OPEN ");
    ASSERT_EQ(2u, opens.size());
    EXPECT_TRUE(Contains(opens[0], "flags=0x3100") && !Contains(opens[0], "element=")) << opens[0];
    EXPECT_TRUE(Contains(opens[1], "flags=0x3300") && Contains(opens[1], "element=D:")) << opens[1];
    EXPECT_EQ(123456, device.GetUpc());
    device.GetDiscId(text, sizeof text);
    EXPECT_STREQ("2C42F", text);  // fewer than 3 tracks: the lead-out counts too

    // One data track is no audio disc and does not play; two tracks count
    // as audio whatever they are.
    cd.InsertDisc('D', "data/1:00.00");
    EXPECT_FALSE(device.IsAudioDisc());
    EXPECT_FALSE(device.PlayTracks(1, 1, false));
    cd.InsertDisc('D', "data/1:00.00 data/2:00.00");
    EXPECT_TRUE(device.IsAudioDisc());
}

TEST_F(VirtualDriveTest, PlaysReportTheirEndOrWhatReplacedThem)
{
    cd.SetSpeed(200);
    cd.InsertDisc('E', "0:05.00 0:04.10 0:03.00 20:00.00");
    ASSERT_TRUE(device.Open(4));

    ASSERT_TRUE(device.PlayTracks(2, 2, true));
    ASSERT_TRUE(window.WaitFor(1));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL), NotifyWindow::codes[0]);
    EXPECT_EQ(2, device.GetCurrentTrack());  // stopped before track 3
    EXPECT_EQ(CdModeStopped, device.GetMode());
    std::vector<std::string> plays = cd.LogLines(" PLAY ");
    ASSERT_EQ(1u, plays.size());
    EXPECT_TRUE(Contains(plays[0], "to=0x0A030002")) << plays[0];

    cd.SetSpeed(1);
    ASSERT_TRUE(device.PlayTracks(4, 4, true));
    EXPECT_EQ(CdModePlaying, device.GetMode());
    ASSERT_TRUE(device.PlayTracks(4, 4, true));
    ASSERT_TRUE(window.WaitFor(2));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUPERSEDED), NotifyWindow::codes[1]);
    ASSERT_TRUE(device.Stop());
    ASSERT_TRUE(window.WaitFor(3));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_ABORTED), NotifyWindow::codes[2]);
}

TEST_F(VirtualDriveTest, SeekPositionsAndTrackTime)
{
    cd.InsertDisc('E', ThreeTracks);
    ASSERT_TRUE(device.Open(-1));

    ASSERT_TRUE(device.Seek(2, 1, 5, 20));
    EXPECT_EQ(MakeMsf(5, 15, 50), static_cast<DWORD>(device.GetPosition()));  // 4:10.30 + 1:05.20
    EXPECT_EQ(65, device.GetTrackElapsedSeconds());
    char text[32];
    FormatTrackTime(device, text, sizeof text);
    EXPECT_STREQ("1:05／4:50", text);

    ASSERT_TRUE(device.Seek(0, 0, 0, 0));
    EXPECT_EQ(MakeMsf(0, 2, 0), static_cast<DWORD>(device.GetPosition()));
    EXPECT_TRUE(Contains(cd.LogLines("timeformat=").back(), "timeformat=10"));  // TMSF again
}

TEST_F(VirtualDriveTest, DoorAndDiscChangesAreSeen)
{
    ASSERT_TRUE(device.Open(4));
    EXPECT_FALSE(device.IsMediaPresent());
    EXPECT_EQ(CdModeNotReady, device.GetMode());
    EXPECT_EQ(-1, device.GetTrackCount());
    char id[16] = "old";
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("", id);

    cd.InsertDisc('E', ThreeTracks);
    EXPECT_TRUE(device.IsMediaPresent());
    ASSERT_TRUE(device.OpenDoor());
    EXPECT_EQ(CdModeDoorOpen, device.GetMode());
    EXPECT_TRUE(cd.IsDoorOpen('E'));
    EXPECT_FALSE(device.Play(false));
    ASSERT_TRUE(device.CloseDoor());
    EXPECT_EQ(CdModeStopped, device.GetMode());
}

TEST_F(VirtualDriveTest, AFailedReopenFailsEveryLaterCommand)
{
    cd.InsertDisc('E', ThreeTracks);
    ASSERT_TRUE(device.Open(4));
    ASSERT_TRUE(device.Close());
    EXPECT_FALSE(device.Open(7));  // H: is no drive of the virtual CD

    EXPECT_EQ(-1, device.GetMode());
    EXPECT_EQ(-1, device.GetTrackCount());
    EXPECT_EQ(-1, device.GetTrackElapsedSeconds());
    EXPECT_FALSE(device.IsMediaPresent());
    EXPECT_FALSE(device.PlayTracks(1, 1, true));
    EXPECT_FALSE(device.Seek(1, 0, 0, 0));
    DrainMessages();
    EXPECT_TRUE(NotifyWindow::codes.empty());

    ASSERT_TRUE(device.Open(4));
    EXPECT_EQ(3, device.GetTrackCount());
}

TEST_F(VirtualDriveTest, ReleaseStopsRewindsAndCloses)
{
    cd.SetSpeed(1);
    cd.InsertDisc('E', ThreeTracks);
    ASSERT_TRUE(device.Open(4));
    ASSERT_TRUE(device.PlayTracks(2, 2, false));
    cd.ClearLog();
    device.Release();
    EXPECT_EQ(0u, device.deviceId);
    std::vector<std::string> lines = cd.LogLines();
    ASSERT_EQ(3u, lines.size());
    EXPECT_TRUE(Contains(lines[0], " STOP ") && Contains(lines[0], "-> 0")) << lines[0];
    EXPECT_TRUE(Contains(lines[1], " SEEK ") && Contains(lines[1], "start")) << lines[1];
    EXPECT_TRUE(Contains(lines[2], " CLOSE ") && Contains(lines[2], "-> 0")) << lines[2];
}

}  // namespace
