#include "RecordingDevice.h"
#include "Text.h"

#include <gtest/gtest.h>

namespace {

const DWORD TrackTypeItem = 0x4001;

// A 10-track disc: track 3 lasts 3:27.40, track 4 4:00.10, track 10 2:00.00.
void InsertTenTrackDisc(RecordingDevice& device)
{
    device.Answer(MCI_STATUS_NUMBER_OF_TRACKS, 10);
    device.Answer(MCI_STATUS_LENGTH, MakeMsf(3, 27, 40), 3);
    device.Answer(MCI_STATUS_LENGTH, MakeMsf(4, 0, 10), 4);
    device.Answer(MCI_STATUS_LENGTH, MakeMsf(2, 0, 0), 10);
}

const SentCommand* FindPlay(const RecordingDevice& device)
{
    for (const SentCommand& command : device.sent)
        if (command.message == MCI_PLAY)
            return &command;
    return nullptr;
}

TEST(CdAudioDeviceTest, OpenSendsTheDriveAsElementAndSetsTmsf)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    ASSERT_EQ(2u, device.sent.size());
    EXPECT_EQ(static_cast<UINT>(MCI_OPEN), device.sent[0].message);
    EXPECT_EQ(0x3100u, device.sent[0].flags);
    EXPECT_FALSE(device.sent[0].hasElement);
    EXPECT_EQ(static_cast<DWORD_PTR>(MCI_DEVTYPE_CD_AUDIO), device.sent[0].deviceType);
    EXPECT_EQ(0u, device.sent[0].callback);
    EXPECT_EQ(static_cast<UINT>(MCI_SET), device.sent[1].message);
    EXPECT_EQ(0x402u, device.sent[1].flags);
    EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_TMSF), device.sent[1].newTimeFormat);
    EXPECT_EQ(7u, device.deviceId);

    device.Clear();
    ASSERT_TRUE(device.Close());
    ASSERT_TRUE(device.Open(4));
    EXPECT_EQ(0x3300u, device.sent[1].flags);
    ASSERT_TRUE(device.sent[1].hasElement);
    EXPECT_EQ("E:", device.sent[1].element);

    // A failed open keeps the old identifier and sets no time format.
    device.Clear();
    device.openError = MCIERR_DEVICE_OPEN;
    device.openedId = 9;
    EXPECT_FALSE(device.Open(3));
    EXPECT_EQ(1u, device.sent.size());
    EXPECT_EQ(7u, device.deviceId);
}

TEST(CdAudioDeviceTest, PlayTracksEndsOneSecondBeforeTheLastTrackEnds)
{
    RecordingDevice device;
    HWND window = reinterpret_cast<HWND>(0x1234);
    device.SetNotifyWindow(window);
    ASSERT_TRUE(device.Open(4));
    InsertTenTrackDisc(device);

    device.Clear();
    ASSERT_TRUE(device.PlayTracks(3, 3, true));
    const SentCommand* play = FindPlay(device);
    ASSERT_NE(nullptr, play);
    EXPECT_EQ(0xDu, play->flags);
    EXPECT_EQ(MakeTmsf(3, 0, 0, 0), play->from);
    EXPECT_EQ(MakeTmsf(3, 3, 26, 40), play->to);
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(window), play->callback);
    EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_TMSF), play->timeFormat);

    // Whole seconds borrow from the minutes.
    device.Clear();
    device.PlayTracks(2, 4, false);
    play = FindPlay(device);
    ASSERT_NE(nullptr, play);
    EXPECT_EQ(0xCu, play->flags);
    EXPECT_EQ(MakeTmsf(2, 0, 0, 0), play->from);
    EXPECT_EQ(MakeTmsf(4, 3, 59, 10), play->to);

    // The final track plays to the end of the disc: no to position.
    device.Clear();
    device.PlayTracks(10, 10, true);
    play = FindPlay(device);
    ASSERT_NE(nullptr, play);
    EXPECT_EQ(0x5u, play->flags);

    // A count that cannot be read also leaves out the end.
    device.status.erase({MCI_STATUS_NUMBER_OF_TRACKS, 0});
    device.Clear();
    device.PlayTracks(3, 3, false);
    play = FindPlay(device);
    ASSERT_NE(nullptr, play);
    EXPECT_EQ(0x4u, play->flags);
}

TEST(CdAudioDeviceTest, CommandWordsOfPlaySeekStopAndDoor)
{
    RecordingDevice device;
    device.SetNotifyWindow(reinterpret_cast<HWND>(0x88));
    ASSERT_TRUE(device.Open(-1));
    device.Clear();

    device.Play(true);
    device.Play(false);
    device.PlayRange(MakeTmsf(2, 1, 0, 0), MakeTmsf(2, 2, 0, 0), true);
    device.PlayRange(MakeTmsf(2, 1, 0, 0), MakeTmsf(2, 2, 0, 0), false);
    device.Seek(0, 0, 0, 0);
    device.Seek(5, 1, 2, 3);
    device.Stop();
    device.OpenDoor();
    device.CloseDoor();

    struct Expected {
        UINT message;
        DWORD flags;
    } expected[] = {{MCI_PLAY, 0x1}, {MCI_PLAY, 0x0}, {MCI_PLAY, 0xD}, {MCI_PLAY, 0xC}, {MCI_SEEK, 0x102},
                    {MCI_SEEK, 0xA}, {MCI_STOP, 0x2}, {MCI_SET, 0x100}, {MCI_SET, 0x200}};
    ASSERT_EQ(sizeof expected / sizeof expected[0], device.sent.size());
    for (size_t i = 0; i < device.sent.size(); ++i) {
        EXPECT_EQ(expected[i].message, device.sent[i].message) << i;
        EXPECT_EQ(expected[i].flags, device.sent[i].flags) << i;
    }
    EXPECT_EQ(0x88u, device.sent[0].callback);
    EXPECT_EQ(MakeTmsf(2, 1, 0, 0), device.sent[2].from);
    EXPECT_EQ(MakeTmsf(2, 2, 0, 0), device.sent[2].to);
    EXPECT_EQ(MakeTmsf(5, 1, 2, 3), device.sent[5].to);
}

TEST(CdAudioDeviceTest, MsfQueriesSwitchFormatAndBack)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    device.Answer(MCI_STATUS_LENGTH, MakeMsf(3, 27, 40), 3);
    device.Answer(MCI_STATUS_POSITION, MakeMsf(10, 50, 0), 3);
    device.Answer(MCI_STATUS_LENGTH, MakeMsf(45, 1, 2));
    device.Answer(MCI_STATUS_POSITION, MakeMsf(12, 34, 70));
    device.Clear();

    EXPECT_EQ(static_cast<long>(MakeMsf(3, 27, 40)), device.GetTrackLength(3));
    ASSERT_EQ(3u, device.sent.size());
    EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_MSF), device.sent[0].newTimeFormat);
    EXPECT_EQ(0x112u, device.sent[1].flags);
    EXPECT_EQ(static_cast<DWORD>(MCI_STATUS_LENGTH), device.sent[1].item);
    EXPECT_EQ(3u, device.sent[1].track);
    EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_MSF), device.sent[1].timeFormat);
    EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_TMSF), device.sent[2].newTimeFormat);

    EXPECT_EQ(static_cast<long>(MakeMsf(10, 50, 0)), device.GetTrackStart(3));
    EXPECT_EQ(static_cast<long>(MakeMsf(45, 1, 2)), device.GetDiscLength());
    device.Clear();
    EXPECT_EQ(static_cast<long>(MakeMsf(12, 34, 70)), device.GetPosition());
    ASSERT_EQ(3u, device.sent.size());
    EXPECT_EQ(0x102u, device.sent[1].flags);
    EXPECT_EQ(static_cast<DWORD>(MCI_STATUS_POSITION), device.sent[1].item);
    EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_TMSF), device.format);

    // A failed query is -1 and still restores TMSF.
    device.Clear();
    EXPECT_EQ(-1, device.GetTrackLength(9));
    ASSERT_EQ(3u, device.sent.size());
    EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_TMSF), device.format);
}

TEST(CdAudioDeviceTest, StatusQueriesAndTheirFailures)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    EXPECT_EQ(-1, device.GetMode());
    EXPECT_EQ(-1, device.GetTrackCount());
    EXPECT_EQ(-1, device.GetCurrentTrack());
    EXPECT_FALSE(device.IsMediaPresent());
    EXPECT_FALSE(device.IsAudioTrack(1));
    EXPECT_EQ(-1, device.GetTrackElapsedSeconds());

    device.Clear();
    device.Answer(MCI_STATUS_MODE, MAKELONG(MCI_MODE_PLAY, MCI_MODE_PLAY));
    device.Answer(MCI_STATUS_MEDIA_PRESENT, TRUE);
    device.Answer(MCI_STATUS_CURRENT_TRACK, 4);
    device.Answer(TrackTypeItem, 1088, 1);
    device.Answer(TrackTypeItem, 1089, 2);
    EXPECT_EQ(CdModePlaying, device.GetMode());
    EXPECT_TRUE(device.IsMediaPresent());
    EXPECT_EQ(4, device.GetCurrentTrack());
    EXPECT_TRUE(device.IsAudioTrack(1));
    EXPECT_FALSE(device.IsAudioTrack(2));
    EXPECT_EQ(0x102u, device.sent[0].flags);
    EXPECT_EQ(static_cast<DWORD>(MCI_STATUS_MODE), device.sent[0].item);
    EXPECT_EQ(0x110u, device.sent.back().flags);
    EXPECT_EQ(TrackTypeItem, device.sent.back().item);
    EXPECT_EQ(2u, device.sent.back().track);
}

TEST(CdAudioDeviceTest, AudioDiscIsDecidedByTrackCountThenFirstTrack)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    device.Answer(MCI_STATUS_NUMBER_OF_TRACKS, 1);
    device.Answer(TrackTypeItem, 1089, 1);
    EXPECT_FALSE(device.IsAudioDisc());
    device.Answer(TrackTypeItem, 1088, 1);
    EXPECT_TRUE(device.IsAudioDisc());

    device.Answer(MCI_STATUS_NUMBER_OF_TRACKS, 2);
    device.Answer(TrackTypeItem, 1089, 1);
    device.Answer(TrackTypeItem, 1089, 2);
    device.Clear();
    EXPECT_TRUE(device.IsAudioDisc());
    EXPECT_EQ(1u, device.sent.size());  // no type asked

    device.status.erase({MCI_STATUS_NUMBER_OF_TRACKS, 0});
    EXPECT_FALSE(device.IsAudioDisc());
}

TEST(CdAudioDeviceTest, ElapsedSecondsIgnoreFrames)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    device.Answer(MCI_STATUS_POSITION, MakeMsf(12, 34, 74));
    device.Answer(MCI_STATUS_CURRENT_TRACK, 3);
    device.Answer(MCI_STATUS_POSITION, MakeMsf(10, 50, 10), 3);
    EXPECT_EQ(104, device.GetTrackElapsedSeconds());

    device.status.erase({MCI_STATUS_POSITION, 3});
    EXPECT_EQ(-1, device.GetTrackElapsedSeconds());
}

TEST(CdAudioDeviceTest, DiscIdIsTheIdentityIn32BitHex)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    char id[16];
    device.info[MCI_INFO_MEDIA_IDENTITY] = "305419896";
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("12345678", id);
    EXPECT_EQ(0x800u, device.sent.back().flags);
    EXPECT_EQ(16u, device.sent.back().returnSize);

    device.info[MCI_INFO_MEDIA_IDENTITY] = "4294967295";
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("FFFFFFFF", id);
    device.info[MCI_INFO_MEDIA_IDENTITY] = "4294967297";  // wraps past 2^32
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("1", id);
    device.info[MCI_INFO_MEDIA_IDENTITY] = " 855338x";
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("D0D2A", id);

    char small[4];
    device.GetDiscId(small, sizeof small);
    EXPECT_STREQ("D0D", small);

    device.info.clear();
    CopyText(id, sizeof id, "old");
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("", id);
    device.info[MCI_INFO_MEDIA_IDENTITY] = "none";
    device.GetDiscId(id, sizeof id);
    EXPECT_STREQ("", id);
}

TEST(CdAudioDeviceTest, UpcBeyondLongIsMinusOneButKeptAsText)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    char text[16];
    EXPECT_EQ(-1, device.GetUpc());
    EXPECT_FALSE(device.GetUpcText(text, sizeof text));
    EXPECT_STREQ("", text);

    device.info[MCI_INFO_MEDIA_UPC] = "123456789";
    EXPECT_EQ(123456789, device.GetUpc());
    EXPECT_EQ(0x400u, device.sent.back().flags);
    device.info[MCI_INFO_MEDIA_UPC] = "2147483647";
    EXPECT_EQ(2147483647, device.GetUpc());

    device.info[MCI_INFO_MEDIA_UPC] = "4988001234567";
    EXPECT_EQ(-1, device.GetUpc());
    EXPECT_TRUE(device.GetUpcText(text, sizeof text));
    EXPECT_STREQ("4988001234567", text);
    device.info[MCI_INFO_MEDIA_UPC] = "2147483648";
    EXPECT_EQ(-1, device.GetUpc());
}

TEST(CdAudioDeviceTest, FailedReopenFailsEverythingAndReleaseStopsRewindsCloses)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    InsertTenTrackDisc(device);
    device.Answer(MCI_STATUS_MODE, MCI_MODE_STOP);
    ASSERT_EQ(MCI_MODE_STOP, device.GetMode());

    ASSERT_TRUE(device.Close());
    device.openError = MCIERR_CANNOT_LOAD_DRIVER;
    EXPECT_FALSE(device.Open(3));
    EXPECT_EQ(7u, device.deviceId);
    EXPECT_EQ(-1, device.GetMode());
    EXPECT_EQ(-1, device.GetTrackCount());
    EXPECT_EQ(-1, device.GetTrackLength(3));
    EXPECT_FALSE(device.Play(false));
    EXPECT_FALSE(device.Stop());

    device.openError = 0;
    ASSERT_TRUE(device.Open(3));
    EXPECT_EQ(10, device.GetTrackCount());

    device.Clear();
    device.Release();
    ASSERT_EQ(3u, device.sent.size());
    EXPECT_EQ(static_cast<UINT>(MCI_STOP), device.sent[0].message);
    EXPECT_EQ(static_cast<UINT>(MCI_SEEK), device.sent[1].message);
    EXPECT_EQ(0x102u, device.sent[1].flags);
    EXPECT_EQ(static_cast<UINT>(MCI_CLOSE), device.sent[2].message);
    EXPECT_EQ(0x2u, device.sent[2].flags);
    EXPECT_EQ(0u, device.deviceId);
}

}  // namespace
