// vcdaudio.dll through the real winmm, as the player drives it.

#include "VirtualCd.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Collects MM_MCINOTIFY messages (status, device) sent to a window of the test.
class NotifyWindow {
public:
    NotifyWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &NotifyWindow::Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VcdNotifyWindow";
        RegisterClassA(&windowClass);
        handle = CreateWindowA("VcdNotifyWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        received.clear();
    }
    ~NotifyWindow() { DestroyWindow(handle); }

    HWND Handle() const { return handle; }
    // Waits for the next notification; 0 when none came.
    UINT Next(DWORD timeoutMs = 10000)
    {
        if (!PumpUntil([] { return !received.empty(); }, timeoutMs))
            return 0;
        UINT status = received.front().first;
        lastDevice = received.front().second;
        received.erase(received.begin());
        return status;
    }
    bool Quiet()
    {
        DrainMessages();
        return received.empty();
    }
    MCIDEVICEID lastDevice = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == MM_MCINOTIFY) {
            received.push_back(std::make_pair(static_cast<UINT>(wParam), static_cast<MCIDEVICEID>(lParam)));
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static std::vector<std::pair<UINT, MCIDEVICEID>> received;
    HWND handle;
};
std::vector<std::pair<UINT, MCIDEVICEID>> NotifyWindow::received;

// One "cdaudio" device opened with the flags the player uses.
class Device {
public:
    ~Device() { Close(); }

    DWORD Open(const char* element = nullptr)
    {
        MCI_OPEN_PARMSA parms = {};
        parms.lpstrDeviceType = reinterpret_cast<LPCSTR>(MCI_DEVTYPE_CD_AUDIO);
        parms.lpstrElementName = element;
        DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_SHAREABLE | (element ? MCI_OPEN_ELEMENT : 0);
        DWORD result = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&parms));
        if (result == 0)
            id = parms.wDeviceID;
        return result;
    }
    DWORD Close()
    {
        if (!id)
            return 0;
        DWORD result = mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, 0);
        id = 0;
        return result;
    }
    DWORD SetFormat(DWORD format)
    {
        MCI_SET_PARMS parms = {};
        parms.dwTimeFormat = format;
        return Send(MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &parms);
    }
    // Door, stop and seek to the start go without a parameter block, as the player sends them.
    DWORD SetDoor(bool open) { return Send(MCI_SET, open ? MCI_SET_DOOR_OPEN : MCI_SET_DOOR_CLOSED, nullptr); }
    // The answer, or -1 when the query fails.
    long Status(DWORD item, int track = 0)
    {
        MCI_STATUS_PARMS parms = {};
        parms.dwItem = item;
        parms.dwTrack = track;
        DWORD result = Send(MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT | (track ? MCI_TRACK : 0), &parms);
        lastError = result;
        return result == 0 ? static_cast<long>(parms.dwReturn) : -1;
    }
    DWORD Play(DWORD flags, DWORD from = 0, DWORD to = 0, HWND window = nullptr)
    {
        MCI_PLAY_PARMS parms = {};
        parms.dwCallback = reinterpret_cast<DWORD_PTR>(window);
        parms.dwFrom = from;
        parms.dwTo = to;
        return Send(MCI_PLAY, flags, &parms);
    }
    DWORD SeekTo(DWORD to)
    {
        MCI_SEEK_PARMS parms = {};
        parms.dwTo = to;
        return Send(MCI_SEEK, MCI_TO | MCI_WAIT, &parms);
    }
    DWORD SeekToStart() { return Send(MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, nullptr); }
    DWORD Stop() { return Send(MCI_STOP, MCI_WAIT, nullptr); }
    // The text answered, or "error <code>".
    std::string Info(DWORD item)
    {
        char text[16] = {};
        MCI_INFO_PARMSA parms = {};
        parms.lpstrReturn = text;
        parms.dwRetSize = sizeof text;
        DWORD result = Send(MCI_INFO, item, &parms);
        return result == 0 ? std::string(text) : "error " + std::to_string(result);
    }

    MCIDEVICEID id = 0;
    DWORD lastError = 0;

private:
    DWORD Send(UINT message, DWORD flags, void* parms)
    {
        return mciSendCommandA(id, message, flags, reinterpret_cast<DWORD_PTR>(parms));
    }
};

// Track 3 is a data track; lengths 3:27.40, 4:00.10 and 1:00.00.
const char* const kMixedDisc = "3:27.40 4:00.10 data/1:00.00";

} // namespace

TEST(DriverTest, MediaIdentityIsComputedFromTheTableOfContents)
{
    VirtualCd cd;
    // Tracks start at 00:02:00, 04:10:30 and 09:01:12.
    cd.InsertDisc('E', "4:08.30 4:50.57 2:00.00", "4988001234567");
    Device device;
    ASSERT_EQ(device.Open("E:"), 0u);
    EXPECT_EQ(device.Info(MCI_INFO_MEDIA_IDENTITY), "855338");
    EXPECT_EQ(device.Info(MCI_INFO_MEDIA_UPC), "4988001234567");

    // One track from 00:02:00 with the lead-out at 40:12:33.
    cd.InsertDisc('E', "40:10.33");
    EXPECT_EQ(device.Info(MCI_INFO_MEDIA_IDENTITY), "181295");
    EXPECT_EQ(device.Info(MCI_INFO_MEDIA_UPC), "error " + std::to_string(MCIERR_NO_IDENTITY));
}

TEST(DriverTest, OpensTheDefaultDriveOrTheNamedLetter)
{
    VirtualCd cd;
    cd.SetDefaultDrive('D');
    cd.InsertDisc('D', "1:00.00 2:00.00");
    cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00 1:00.00 1:00.00");
    Device byDefault, named, unknown;
    ASSERT_EQ(byDefault.Open(), 0u);
    ASSERT_EQ(named.Open("E:"), 0u);
    EXPECT_EQ(byDefault.Status(MCI_STATUS_NUMBER_OF_TRACKS), 2);
    EXPECT_EQ(named.Status(MCI_STATUS_NUMBER_OF_TRACKS), 5);
    EXPECT_NE(unknown.Open("Q:"), 0u);

    EXPECT_EQ(cd.LogLines(" D OPEN flags=0x3100 type=516 -> 0").size(), 1u) << cd.Log();
    EXPECT_EQ(cd.LogLines(" E OPEN flags=0x3300 element=E: type=516 -> 0").size(), 1u) << cd.Log();
    EXPECT_EQ(named.Close(), 0u);
    EXPECT_EQ(cd.LogLines(" E CLOSE flags=0x2 -> 0").size(), 1u) << cd.Log();
}

TEST(DriverTest, AnswersStatusQueriesInBothTimeFormats)
{
    VirtualCd cd;
    cd.InsertDisc('E', kMixedDisc);
    Device device;
    ASSERT_EQ(device.Open("E:"), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(device.Status(MCI_STATUS_MEDIA_PRESENT), TRUE);
    EXPECT_EQ(device.Status(MCI_STATUS_NUMBER_OF_TRACKS), 3);
    EXPECT_EQ(device.Status(MCI_STATUS_CURRENT_TRACK), 1);

    ASSERT_EQ(device.SetFormat(MCI_FORMAT_MSF), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_TIME_FORMAT), MCI_FORMAT_MSF);
    EXPECT_EQ(device.Status(MCI_STATUS_POSITION), static_cast<long>(MCI_MAKE_MSF(0, 2, 0)));
    EXPECT_EQ(device.Status(MCI_STATUS_POSITION, 2), static_cast<long>(MCI_MAKE_MSF(3, 29, 40)));
    EXPECT_EQ(device.Status(MCI_STATUS_LENGTH, 2), static_cast<long>(MCI_MAKE_MSF(4, 0, 10)));
    EXPECT_EQ(device.Status(MCI_STATUS_LENGTH), static_cast<long>(MCI_MAKE_MSF(8, 27, 50)));

    ASSERT_EQ(device.SetFormat(MCI_FORMAT_TMSF), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_POSITION), static_cast<long>(MCI_MAKE_TMSF(1, 0, 0, 0)));
    EXPECT_EQ(device.Status(MCI_STATUS_POSITION, 3), static_cast<long>(MCI_MAKE_TMSF(3, 0, 0, 0)));
    // Lengths stay durations in MSF.
    EXPECT_EQ(device.Status(MCI_STATUS_LENGTH, 1), static_cast<long>(MCI_MAKE_MSF(3, 27, 40)));
    EXPECT_EQ(device.Status(MCI_CDA_STATUS_TYPE_TRACK, 1), MCI_CDA_TRACK_AUDIO);
    EXPECT_EQ(device.Status(MCI_CDA_STATUS_TYPE_TRACK, 3), MCI_CDA_TRACK_OTHER);
    EXPECT_EQ(device.Status(MCI_STATUS_LENGTH, 4), -1);
    EXPECT_EQ(device.lastError, static_cast<DWORD>(MCIERR_OUTOFRANGE));
    EXPECT_NE(device.SetFormat(MCI_FORMAT_SMPTE_25), 0u);
}

TEST(DriverTest, PlayRunsInSimulatedTimeAndNotifiesItsEnd)
{
    VirtualCd cd;
    cd.SetSpeed(1000);
    cd.InsertDisc('E', "0:20.00 0:30.00 10:00.00");
    NotifyWindow window;
    Device device;
    ASSERT_EQ(device.Open("E:"), 0u);
    ASSERT_EQ(device.SetFormat(MCI_FORMAT_TMSF), 0u);

    DWORD to = MCI_MAKE_TMSF(2, 0, 10, 0);
    ASSERT_EQ(device.Play(MCI_FROM | MCI_TO | MCI_NOTIFY, MCI_MAKE_TMSF(1, 0, 5, 0), to, window.Handle()), 0u);
    EXPECT_EQ(window.Next(), static_cast<UINT>(MCI_NOTIFY_SUCCESSFUL));
    EXPECT_EQ(window.lastDevice, device.id);
    // The position stays where the play ended, and the current track follows it.
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(device.Status(MCI_STATUS_POSITION), static_cast<long>(to));
    EXPECT_EQ(device.Status(MCI_STATUS_CURRENT_TRACK), 2);

    // Without a to position the play runs to the end of the disc.
    ASSERT_EQ(device.Play(MCI_FROM | MCI_NOTIFY, MCI_MAKE_TMSF(3, 9, 0, 0), 0, window.Handle()), 0u);
    EXPECT_EQ(window.Next(), static_cast<UINT>(MCI_NOTIFY_SUCCESSFUL));
    ASSERT_EQ(device.SetFormat(MCI_FORMAT_MSF), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_POSITION), static_cast<long>(MCI_MAKE_MSF(10, 52, 0)));

    // A long play: the mode is "playing" and the position moves on.
    cd.SetSpeed(100);
    ASSERT_EQ(device.Play(MCI_FROM, MCI_MAKE_MSF(0, 2, 0)), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_PLAY);
    long start = MCI_MAKE_MSF(0, 2, 0);
    EXPECT_TRUE(PumpUntil([&] { return device.Status(MCI_STATUS_CURRENT_TRACK) == 2; }));
    EXPECT_NE(device.Status(MCI_STATUS_POSITION), start);
    EXPECT_EQ(device.Stop(), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_TRUE(window.Quiet());
}

TEST(DriverTest, ALaterCommandSupersedesOrAbortsThePendingNotification)
{
    VirtualCd cd;
    cd.InsertDisc('E', "40:00.00 30:00.00");
    NotifyWindow window;
    Device device;
    ASSERT_EQ(device.Open("E:"), 0u);
    ASSERT_EQ(device.SetFormat(MCI_FORMAT_TMSF), 0u);
    DWORD track1 = MCI_MAKE_TMSF(1, 0, 0, 0);

    ASSERT_EQ(device.Play(MCI_FROM | MCI_NOTIFY, track1, 0, window.Handle()), 0u);
    ASSERT_EQ(device.Play(MCI_FROM | MCI_NOTIFY, MCI_MAKE_TMSF(2, 0, 0, 0), 0, window.Handle()), 0u);
    EXPECT_EQ(window.Next(), static_cast<UINT>(MCI_NOTIFY_SUPERSEDED));
    ASSERT_EQ(device.Stop(), 0u);
    EXPECT_EQ(window.Next(), static_cast<UINT>(MCI_NOTIFY_ABORTED));

    ASSERT_EQ(device.Play(MCI_FROM | MCI_NOTIFY, track1, 0, window.Handle()), 0u);
    ASSERT_EQ(device.SeekToStart(), 0u);
    EXPECT_EQ(window.Next(), static_cast<UINT>(MCI_NOTIFY_ABORTED));

    ASSERT_EQ(device.Play(MCI_FROM | MCI_NOTIFY, track1, 0, window.Handle()), 0u);
    ASSERT_EQ(device.SetDoor(true), 0u);
    EXPECT_EQ(window.Next(), static_cast<UINT>(MCI_NOTIFY_ABORTED));
    EXPECT_TRUE(cd.IsDoorOpen('E'));
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_OPEN);
    EXPECT_EQ(device.Status(MCI_STATUS_MEDIA_PRESENT), FALSE);
    ASSERT_EQ(device.SetDoor(false), 0u);
    EXPECT_FALSE(cd.IsDoorOpen('E'));
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_STOP);

    ASSERT_EQ(device.Play(MCI_FROM | MCI_NOTIFY, track1, 0, window.Handle()), 0u);
    ASSERT_EQ(device.Close(), 0u);
    EXPECT_EQ(window.Next(), static_cast<UINT>(MCI_NOTIFY_ABORTED));
    EXPECT_TRUE(window.Quiet());
}

TEST(DriverTest, SeeksToTheStartOrToATrackPosition)
{
    VirtualCd cd;
    cd.InsertDisc('E', kMixedDisc);
    Device device;
    ASSERT_EQ(device.Open("E:"), 0u);
    ASSERT_EQ(device.SetFormat(MCI_FORMAT_TMSF), 0u);
    ASSERT_EQ(device.SeekTo(MCI_MAKE_TMSF(2, 1, 2, 3)), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_POSITION), static_cast<long>(MCI_MAKE_TMSF(2, 1, 2, 3)));
    EXPECT_EQ(device.Status(MCI_STATUS_CURRENT_TRACK), 2);
    ASSERT_EQ(device.SetFormat(MCI_FORMAT_MSF), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_POSITION), static_cast<long>(MCI_MAKE_MSF(4, 31, 43)));
    ASSERT_EQ(device.SetFormat(MCI_FORMAT_TMSF), 0u);

    EXPECT_EQ(device.SeekTo(MCI_MAKE_TMSF(4, 0, 0, 0)), static_cast<DWORD>(MCIERR_OUTOFRANGE));
    EXPECT_EQ(device.SeekTo(MCI_MAKE_TMSF(3, 1, 0, 1)), static_cast<DWORD>(MCIERR_OUTOFRANGE));
    ASSERT_EQ(device.SeekToStart(), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_POSITION), static_cast<long>(MCI_MAKE_TMSF(1, 0, 0, 0)));

    // The data track cannot be played, from its start or from within it.
    EXPECT_EQ(device.Play(MCI_FROM, MCI_MAKE_TMSF(3, 0, 0, 0)), static_cast<DWORD>(MCIERR_HARDWARE));
    ASSERT_EQ(device.SeekTo(MCI_MAKE_TMSF(3, 0, 30, 0)), 0u);
    EXPECT_EQ(device.Play(0), static_cast<DWORD>(MCIERR_HARDWARE));
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_STOP);
}

TEST(DriverTest, WithoutADiscCommandsFailButMediaPresentAnswersFalse)
{
    VirtualCd cd;
    Device device;
    ASSERT_EQ(device.Open("E:"), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_MEDIA_PRESENT), FALSE);
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_NOT_READY);
    EXPECT_EQ(device.Status(MCI_STATUS_NUMBER_OF_TRACKS), -1);
    EXPECT_EQ(device.lastError, static_cast<DWORD>(MCIERR_DEVICE_NOT_READY));
    EXPECT_NE(device.Play(0), 0u);
    EXPECT_NE(device.Stop(), 0u);
    EXPECT_NE(device.SeekToStart(), 0u);
    EXPECT_EQ(device.Info(MCI_INFO_MEDIA_IDENTITY), "error " + std::to_string(MCIERR_DEVICE_NOT_READY));
    EXPECT_EQ(device.SetFormat(MCI_FORMAT_TMSF), 0u);

    cd.SetDoor('E', true);
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_OPEN);
    // A disc in an open tray cannot be played either.
    cd.InsertDisc('E', "1:00.00");
    cd.SetDoor('E', true);
    EXPECT_EQ(device.Status(MCI_STATUS_MEDIA_PRESENT), FALSE);
    EXPECT_NE(device.Play(0), 0u);
}

TEST(DriverTest, NoticesDriveFileChangesWhileOpen)
{
    VirtualCd cd;
    cd.InsertDisc('E', "40:00.00 1:00.00 1:00.00");
    NotifyWindow window;
    Device device;
    ASSERT_EQ(device.Open("E:"), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_NUMBER_OF_TRACKS), 3);
    cd.InsertDisc('E', "1:00.00 1:00.00 1:00.00 1:00.00 1:00.00");
    EXPECT_EQ(device.Status(MCI_STATUS_NUMBER_OF_TRACKS), 5);

    // Taking the disc out ends the play even when no command follows.
    cd.InsertDisc('E', "40:00.00");
    ASSERT_EQ(device.Play(MCI_NOTIFY, 0, 0, window.Handle()), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_PLAY);
    cd.RemoveDisc('E');
    EXPECT_EQ(window.Next(), static_cast<UINT>(MCI_NOTIFY_ABORTED));
    EXPECT_EQ(device.Status(MCI_STATUS_MEDIA_PRESENT), FALSE);

    // A new disc starts stopped at its beginning.
    cd.InsertDisc('E', "2:00.00 3:00.00");
    ASSERT_EQ(device.SetFormat(MCI_FORMAT_TMSF), 0u);
    EXPECT_EQ(device.Status(MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(device.Status(MCI_STATUS_POSITION), static_cast<long>(MCI_MAKE_TMSF(1, 0, 0, 0)));
}

TEST(DriverTest, LogsEveryCommandWithItsParametersAndResult)
{
    VirtualCd cd;
    cd.InsertDisc('E', "3:27.40 3:27.40 3:27.40 4:00.00");
    NotifyWindow window;
    Device device;
    ASSERT_EQ(device.Open("E:"), 0u);
    ASSERT_EQ(device.SetFormat(MCI_FORMAT_TMSF), 0u);
    ASSERT_EQ(device.Play(MCI_FROM | MCI_TO | MCI_NOTIFY, MCI_MAKE_TMSF(3, 0, 0, 0), MCI_MAKE_TMSF(3, 3, 26, 40),
                          window.Handle()),
              0u);
    device.Stop();
    device.SeekToStart();
    device.Status(MCI_STATUS_MODE);
    device.Status(MCI_STATUS_LENGTH, 2);
    device.Status(MCI_STATUS_LENGTH, 9);
    device.Info(MCI_INFO_MEDIA_IDENTITY);
    device.SetDoor(true);

    char pid[16];
    snprintf(pid, sizeof pid, "%lu ", GetCurrentProcessId());
    const char* expected[] = {
        "E SET flags=0x402 timeformat=10 -> 0",
        "E PLAY flags=0xD from=0x00000003 to=0x281A0303 -> 0",
        "E STOP flags=0x2 -> 0",
        "E SEEK flags=0x102 start -> 0",
        "E STATUS flags=0x102 item=0x4 -> 0",
        "E STATUS flags=0x112 item=0x1 track=2 -> 0",
        "E STATUS flags=0x112 item=0x1 track=9 -> 282",
        "E INFO flags=0x800 item=identity -> 0",
        "E SET flags=0x100 door=open -> 0",
    };
    for (const char* line : expected)
        EXPECT_EQ(cd.LogLines(pid + std::string(line)).size(), 1u) << line << "\n" << cd.Log();
}
