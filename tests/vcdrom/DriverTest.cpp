// vcdaudio.dll through the real winmm, as the player drives it.
#include "VirtualCd.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// One "cdaudio" device opened as the player opens it; plays notify window.
class Device {
public:
    explicit Device(const char* element, HWND window = nullptr) : window(window)
    {
        MCI_OPEN_PARMSA parms = {0, 0, reinterpret_cast<LPCSTR>(MCI_DEVTYPE_CD_AUDIO), element, nullptr};
        DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_SHAREABLE | (element ? MCI_OPEN_ELEMENT : 0);
        id = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&parms)) ? 0 : parms.wDeviceID;
    }
    ~Device() { Send(MCI_CLOSE, MCI_WAIT); }
    // Door, stop, close and seek to the start go without a parameter block, as the player sends them.
    DWORD Send(UINT message, DWORD flags, void* parms = nullptr)
    {
        return mciSendCommandA(id, message, flags, reinterpret_cast<DWORD_PTR>(parms));
    }
    DWORD Format(DWORD format)
    {
        MCI_SET_PARMS parms = {0, format, 0};
        return Send(MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &parms);
    }
    // The answer, or -1 when the query fails.
    long Status(DWORD item, int track = 0)
    {
        MCI_STATUS_PARMS parms = {0, 0, item, static_cast<DWORD>(track)};
        DWORD flags = MCI_STATUS_ITEM | MCI_WAIT | (track ? MCI_TRACK : 0);
        return Send(MCI_STATUS, flags, &parms) ? -1 : static_cast<long>(parms.dwReturn);
    }
    DWORD Play(DWORD flags, DWORD from = 0, DWORD to = 0)
    {
        MCI_PLAY_PARMS parms = {reinterpret_cast<DWORD_PTR>(window), from, to};
        return Send(MCI_PLAY, flags, &parms);
    }
    // The text answered, or "error <code>".
    std::string Info(DWORD item)
    {
        char text[16] = {};
        MCI_INFO_PARMSA parms = {0, text, sizeof text};
        DWORD result = Send(MCI_INFO, item, &parms);
        return result == 0 ? std::string(text) : "error " + std::to_string(result);
    }

    HWND window;
    MCIDEVICEID id;
};

// The next notification posted to the window; 0 when none came in time.
UINT Next(HWND window, DWORD timeoutMs = 10000)
{
    MSG message;
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;
         MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE))
        if (PeekMessageA(&message, window, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE))
            return static_cast<UINT>(message.wParam);
    return 0;
}

TEST(DriverTest, OpenIdentifyAnswerStatusAndPlayAsARealDrive)
{
    VirtualCd cd;
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    cd.SetDefaultDrive('D');
    cd.InsertDisc('D', "1:00.00 2:00.00");
    // Tracks start at 00:02:00, 04:10:30 and 09:01:12.
    cd.InsertDisc('E', "4:08.30 4:50.57 2:00.00", "4988001234567");
    Device byDefault(nullptr), device("E:", window);
    EXPECT_EQ(2, byDefault.Status(MCI_STATUS_NUMBER_OF_TRACKS));
    EXPECT_EQ(3, device.Status(MCI_STATUS_NUMBER_OF_TRACKS));
    EXPECT_EQ("855338", device.Info(MCI_INFO_MEDIA_IDENTITY));
    // One track from 00:02:00 with the lead-out at 40:12:33.
    cd.InsertDisc('E', "40:10.33");
    EXPECT_EQ("181295", device.Info(MCI_INFO_MEDIA_IDENTITY));
    EXPECT_EQ("error " + std::to_string(MCIERR_NO_IDENTITY), device.Info(MCI_INFO_MEDIA_UPC));

    cd.InsertDisc('E', "3:27.40 4:00.10 data/1:00.00");
    ASSERT_EQ(0u, device.Format(MCI_FORMAT_MSF));
    EXPECT_EQ(static_cast<long>(MCI_MAKE_MSF(3, 29, 40)), device.Status(MCI_STATUS_POSITION, 2));
    EXPECT_EQ(static_cast<long>(MCI_MAKE_MSF(4, 0, 10)), device.Status(MCI_STATUS_LENGTH, 2));
    EXPECT_EQ(static_cast<long>(MCI_MAKE_MSF(8, 27, 50)), device.Status(MCI_STATUS_LENGTH));
    ASSERT_EQ(0u, device.Format(MCI_FORMAT_TMSF));
    EXPECT_EQ(static_cast<long>(MCI_MAKE_TMSF(3, 0, 0, 0)), device.Status(MCI_STATUS_POSITION, 3));
    EXPECT_EQ(static_cast<long>(MCI_MAKE_MSF(3, 27, 40)), device.Status(MCI_STATUS_LENGTH, 1));  // still MSF
    EXPECT_EQ(MCI_CDA_TRACK_OTHER, device.Status(MCI_CDA_STATUS_TYPE_TRACK, 3));
    EXPECT_EQ(-1, device.Status(MCI_STATUS_LENGTH, 4));
    EXPECT_EQ(static_cast<DWORD>(MCIERR_HARDWARE), device.Play(MCI_FROM, MCI_MAKE_TMSF(3, 0, 0, 0)));

    // Plays run in simulated time and end where they were asked to.
    cd.SetSpeed(1000);
    cd.InsertDisc('E', "0:20.00 0:30.00 10:00.00");
    ASSERT_EQ(0u, device.Play(MCI_FROM | MCI_TO | MCI_NOTIFY, MCI_MAKE_TMSF(1, 0, 5, 0), MCI_MAKE_TMSF(2, 0, 10, 0)));
    EXPECT_EQ(static_cast<UINT>(MCI_NOTIFY_SUCCESSFUL), Next(window));
    EXPECT_EQ(static_cast<long>(MCI_MAKE_TMSF(2, 0, 10, 0)), device.Status(MCI_STATUS_POSITION));
    // Without a to position the play runs to the end of the disc.
    ASSERT_EQ(0u, device.Play(MCI_FROM | MCI_NOTIFY, MCI_MAKE_TMSF(3, 9, 0, 0)));
    EXPECT_EQ(static_cast<UINT>(MCI_NOTIFY_SUCCESSFUL), Next(window));
    ASSERT_EQ(0u, device.Format(MCI_FORMAT_MSF));
    EXPECT_EQ(static_cast<long>(MCI_MAKE_MSF(10, 52, 0)), device.Status(MCI_STATUS_POSITION));

    // A drive that never reports a play's end stops there in silence; the
    // next play sends the waiting notification as superseded, a stop as aborted.
    cd.SetEndNotify('E', false);
    ASSERT_EQ(0u, device.Play(MCI_FROM | MCI_TO | MCI_NOTIFY, MCI_MAKE_MSF(0, 3, 0), MCI_MAKE_MSF(0, 13, 0)));
    EXPECT_EQ(0u, Next(window, 500));
    EXPECT_EQ(MCI_MODE_STOP, device.Status(MCI_STATUS_MODE));
    EXPECT_EQ(static_cast<long>(MCI_MAKE_MSF(0, 13, 0)), device.Status(MCI_STATUS_POSITION));
    ASSERT_EQ(0u, device.Play(MCI_FROM | MCI_NOTIFY, MCI_MAKE_MSF(10, 50, 0)));
    EXPECT_EQ(static_cast<UINT>(MCI_NOTIFY_SUPERSEDED), Next(window));
    EXPECT_EQ(0u, Next(window, 500));
    ASSERT_EQ(0u, device.Send(MCI_STOP, MCI_WAIT));
    EXPECT_EQ(static_cast<UINT>(MCI_NOTIFY_ABORTED), Next(window));
    cd.SetEndNotify('E', true);

    // Seek, the door, a disc taken out and close abort a play.
    cd.SetSpeed(100);
    cd.InsertDisc('E', "40:00.00 30:00.00");
    ASSERT_EQ(0u, device.Play(MCI_NOTIFY));
    ASSERT_EQ(0u, device.Send(MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT));
    EXPECT_EQ(static_cast<UINT>(MCI_NOTIFY_ABORTED), Next(window));
    ASSERT_EQ(0u, device.Play(MCI_NOTIFY));
    ASSERT_EQ(0u, device.Send(MCI_SET, MCI_SET_DOOR_OPEN));
    EXPECT_EQ(static_cast<UINT>(MCI_NOTIFY_ABORTED), Next(window));
    EXPECT_EQ(MCI_MODE_OPEN, device.Status(MCI_STATUS_MODE));
    EXPECT_EQ(FALSE, device.Status(MCI_STATUS_MEDIA_PRESENT));
    EXPECT_NE(0u, device.Play(0));  // a disc in an open tray does not play
    ASSERT_EQ(0u, device.Send(MCI_SET, MCI_SET_DOOR_CLOSED));
    EXPECT_EQ(MCI_MODE_STOP, device.Status(MCI_STATUS_MODE));

    ASSERT_EQ(0u, device.Play(MCI_NOTIFY));
    cd.RemoveDisc('E');  // seen even though no command follows
    EXPECT_EQ(static_cast<UINT>(MCI_NOTIFY_ABORTED), Next(window));
    EXPECT_EQ(MCI_MODE_NOT_READY, device.Status(MCI_STATUS_MODE));
    // A new disc starts stopped at its beginning.
    cd.InsertDisc('E', "2:00.00 3:00.00");
    EXPECT_EQ(MCI_MODE_STOP, device.Status(MCI_STATUS_MODE));
    EXPECT_EQ(static_cast<long>(MCI_MAKE_MSF(0, 2, 0)), device.Status(MCI_STATUS_POSITION));
    ASSERT_EQ(0u, device.Play(MCI_NOTIFY));
    ASSERT_EQ(0u, device.Send(MCI_CLOSE, MCI_WAIT));
    EXPECT_EQ(static_cast<UINT>(MCI_NOTIFY_ABORTED), Next(window));
    DestroyWindow(window);
}

}  // namespace
