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
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "CdAudioTestNotify";
        RegisterClassA(&windowClass);
        handle = CreateWindowA("CdAudioTestNotify", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~NotifyWindow() { DestroyWindow(handle); }

    HWND handle;
    std::vector<WPARAM> codes;

    bool WaitFor(size_t count) { return PumpUntil([&] { return codes.size() >= count; }, 20000); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == MM_MCINOTIFY) {
            auto* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (self)
                self->codes.push_back(wParam);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(VirtualDriveTest, OpenSendsTheDriveLetterAndReadsTheDisc)
{
    VirtualCd cd;
    cd.InsertDisc('E', ThreeTracks, "4988001234567");
    cd.InsertDisc('D', "40:10.33", "123456");  // lead-out at 40:12.33
    CdAudioDevice device;

    ASSERT_TRUE(device.Open(-1));  // the default drive, E:
    std::vector<std::string> opens = cd.LogLines(" OPEN ");
    ASSERT_EQ(1u, opens.size());
    EXPECT_TRUE(Contains(opens[0], "flags=0x3100")) << opens[0];
    EXPECT_FALSE(Contains(opens[0], "element=E:")) << opens[0];
    EXPECT_TRUE(device.IsMediaPresent());
    EXPECT_EQ(CdModeStopped, device.GetMode());
    EXPECT_EQ(3, device.GetTrackCount());
    EXPECT_EQ(MakeMsf(4, 8, 30), static_cast<DWORD>(device.GetTrackLength(1)));
    EXPECT_EQ(MakeMsf(0, 2, 0), static_cast<DWORD>(device.GetTrackStart(1)));
    EXPECT_EQ(MakeMsf(9, 1, 12), static_cast<DWORD>(device.GetTrackStart(3)));
    EXPECT_GT(device.GetDiscLength(), static_cast<long>(MakeMsf(11, 0, 0)));
    EXPECT_TRUE(device.IsAudioTrack(3));
    EXPECT_TRUE(device.IsAudioDisc());
    char id[16];
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("D0D2A", id);
    char upc[16];
    EXPECT_EQ(-1, device.GetUpc());  // 13 digits do not fit a long
    EXPECT_TRUE(device.GetUpcText(upc, sizeof upc));
    EXPECT_STREQ("4988001234567", upc);

    ASSERT_TRUE(device.Close());
    cd.ClearLog();
    ASSERT_TRUE(device.Open(3));
    opens = cd.LogLines(" OPEN ");
    ASSERT_EQ(1u, opens.size());
    EXPECT_TRUE(Contains(opens[0], "flags=0x3300")) << opens[0];
    EXPECT_TRUE(Contains(opens[0], "element=D:")) << opens[0];
    EXPECT_EQ(1, device.GetTrackCount());
    EXPECT_EQ(123456, device.GetUpc());
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("2C42F", id);  // fewer than 3 tracks: the lead-out counts too

    // A single data track is no audio disc and does not play; two tracks
    // count as audio whatever they are.
    cd.InsertDisc('D', "data/1:00.00");
    EXPECT_FALSE(device.IsAudioTrack(1));
    EXPECT_FALSE(device.IsAudioDisc());
    EXPECT_FALSE(device.PlayTracks(1, 1, false));
    cd.InsertDisc('D', "data/1:00.00 data/2:00.00");
    EXPECT_TRUE(device.IsAudioDisc());
}

TEST(VirtualDriveTest, PlayTracksReportsTheEndAndEndsBeforeTheNextTrack)
{
    VirtualCd cd;
    cd.SetSpeed(200);
    cd.InsertDisc('E', "0:05.00 0:04.10 0:03.00");
    NotifyWindow window;
    CdAudioDevice device;
    device.SetNotifyWindow(window.handle);
    ASSERT_TRUE(device.Open(4));

    cd.ClearLog();
    ASSERT_TRUE(device.PlayTracks(2, 2, true));
    std::vector<std::string> plays = cd.LogLines(" PLAY ");
    ASSERT_EQ(1u, plays.size());
    EXPECT_TRUE(Contains(plays[0], "flags=0xD")) << plays[0];
    EXPECT_TRUE(Contains(plays[0], "from=0x00000002")) << plays[0];
    EXPECT_TRUE(Contains(plays[0], "to=0x0A030002")) << plays[0];  // track 2 at 0:03.10
    ASSERT_TRUE(window.WaitFor(1));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL), window.codes[0]);
    EXPECT_EQ(2, device.GetCurrentTrack());
    EXPECT_EQ(CdModeStopped, device.GetMode());

    // The final track plays to the end of the disc.
    cd.ClearLog();
    ASSERT_TRUE(device.PlayTracks(3, 3, true));
    plays = cd.LogLines(" PLAY ");
    ASSERT_EQ(1u, plays.size());
    EXPECT_TRUE(Contains(plays[0], "flags=0x5")) << plays[0];
    EXPECT_FALSE(Contains(plays[0], "to=")) << plays[0];
    ASSERT_TRUE(window.WaitFor(2));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL), window.codes[1]);
}

TEST(VirtualDriveTest, LaterCommandsSupersedeOrAbortAPlay)
{
    VirtualCd cd;
    cd.SetSpeed(1);
    cd.InsertDisc('E', ThreeTracks);
    NotifyWindow window;
    CdAudioDevice device;
    device.SetNotifyWindow(window.handle);
    ASSERT_TRUE(device.Open(-1));

    ASSERT_TRUE(device.PlayTracks(1, 1, true));
    EXPECT_EQ(CdModePlaying, device.GetMode());
    EXPECT_EQ(1, device.GetCurrentTrack());
    ASSERT_TRUE(device.PlayTracks(2, 2, true));
    ASSERT_TRUE(window.WaitFor(1));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUPERSEDED), window.codes[0]);
    EXPECT_EQ(2, device.GetCurrentTrack());
    int elapsed = device.GetTrackElapsedSeconds();
    EXPECT_GE(elapsed, 0);
    EXPECT_LT(elapsed, 4 * 60 + 50);

    ASSERT_TRUE(device.Stop());
    ASSERT_TRUE(window.WaitFor(2));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_ABORTED), window.codes[1]);
    EXPECT_EQ(CdModeStopped, device.GetMode());
    DrainMessages();
    EXPECT_EQ(2u, window.codes.size());
}

TEST(VirtualDriveTest, SeekPositionsAndTrackTime)
{
    VirtualCd cd;
    cd.InsertDisc('E', ThreeTracks);
    CdAudioDevice device;
    ASSERT_TRUE(device.Open(-1));

    ASSERT_TRUE(device.Seek(2, 1, 5, 20));
    EXPECT_EQ(2, device.GetCurrentTrack());
    EXPECT_EQ(MakeMsf(5, 15, 50), static_cast<DWORD>(device.GetPosition()));  // 4:10.30 + 1:05.20
    EXPECT_EQ(65, device.GetTrackElapsedSeconds());
    char text[32];
    FormatTrackTime(device, text, sizeof text);
    EXPECT_STREQ("1:05／4:50", text);

    ASSERT_TRUE(device.Seek(0, 0, 0, 0));
    EXPECT_EQ(1, device.GetCurrentTrack());
    EXPECT_EQ(MakeMsf(0, 2, 0), static_cast<DWORD>(device.GetPosition()));
    std::vector<std::string> seeks = cd.LogLines(" SEEK ");
    ASSERT_EQ(2u, seeks.size());
    EXPECT_TRUE(Contains(seeks[0], "flags=0xA")) << seeks[0];
    EXPECT_TRUE(Contains(seeks[1], "flags=0x102")) << seeks[1];

    // Every MSF query leaves the device in TMSF again.
    std::vector<std::string> formats = cd.LogLines("timeformat=");
    ASSERT_FALSE(formats.empty());
    EXPECT_TRUE(Contains(formats.back(), "timeformat=10")) << formats.back();
}

TEST(VirtualDriveTest, DoorAndDiscChangesAreSeen)
{
    VirtualCd cd;
    CdAudioDevice device;
    ASSERT_TRUE(device.Open(4));
    EXPECT_FALSE(device.IsMediaPresent());
    EXPECT_EQ(CdModeNotReady, device.GetMode());
    EXPECT_EQ(-1, device.GetTrackCount());
    char id[16] = "old";
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("", id);
    EXPECT_EQ(-1, device.GetUpc());

    cd.InsertDisc('E', ThreeTracks);
    EXPECT_TRUE(device.IsMediaPresent());
    EXPECT_EQ(3, device.GetTrackCount());

    ASSERT_TRUE(device.OpenDoor());
    EXPECT_EQ(CdModeDoorOpen, device.GetMode());
    EXPECT_TRUE(cd.IsDoorOpen('E'));
    EXPECT_FALSE(device.Play(false));
    ASSERT_TRUE(device.CloseDoor());
    EXPECT_FALSE(cd.IsDoorOpen('E'));
    EXPECT_EQ(CdModeStopped, device.GetMode());
}

TEST(VirtualDriveTest, AFailedReopenFailsEveryLaterCommand)
{
    VirtualCd cd;
    cd.InsertDisc('E', ThreeTracks);
    NotifyWindow window;
    CdAudioDevice device;
    device.SetNotifyWindow(window.handle);
    ASSERT_TRUE(device.Open(4));
    ASSERT_TRUE(device.Close());
    EXPECT_FALSE(device.Open(7));  // H: is no drive of the virtual CD
    EXPECT_NE(0u, device.deviceId);

    EXPECT_EQ(-1, device.GetMode());
    EXPECT_EQ(-1, device.GetTrackCount());
    EXPECT_EQ(-1, device.GetCurrentTrack());
    EXPECT_EQ(-1, device.GetPosition());
    EXPECT_EQ(-1, device.GetTrackElapsedSeconds());
    EXPECT_FALSE(device.IsMediaPresent());
    EXPECT_FALSE(device.Play(true));
    EXPECT_FALSE(device.PlayTracks(1, 1, true));
    EXPECT_FALSE(device.Stop());
    EXPECT_FALSE(device.Seek(1, 0, 0, 0));
    char id[16];
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("", id);
    DrainMessages();
    EXPECT_TRUE(window.codes.empty());

    ASSERT_TRUE(device.Open(4));
    EXPECT_EQ(3, device.GetTrackCount());
}

TEST(VirtualDriveTest, ReleaseStopsRewindsAndCloses)
{
    VirtualCd cd;
    cd.SetSpeed(1);
    cd.InsertDisc('E', ThreeTracks);
    {
        CdAudioDevice device;
        ASSERT_TRUE(device.Open(4));
        ASSERT_TRUE(device.PlayTracks(2, 2, false));
        cd.ClearLog();
    }
    std::vector<std::string> lines = cd.LogLines();
    ASSERT_EQ(3u, lines.size());
    EXPECT_TRUE(Contains(lines[0], " STOP ")) << lines[0];
    EXPECT_TRUE(Contains(lines[1], " SEEK ") && Contains(lines[1], "start")) << lines[1];
    EXPECT_TRUE(Contains(lines[2], " CLOSE ")) << lines[2];
    for (const std::string& line : lines)
        EXPECT_TRUE(Contains(line, "-> 0")) << line;
}

}  // namespace
