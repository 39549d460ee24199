// The exact command words, watched where they leave for winmm.
#include "RecordingDevice.h"

#include <gtest/gtest.h>

namespace {

TEST(CdAudioDeviceTest, OpenSendsTheDriveAsElementThenSetsTmsf)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    ASSERT_TRUE(device.Open(4));
    ASSERT_EQ(4u, device.sent.size());
    EXPECT_EQ(0x3100u, device.sent[0].flags);
    EXPECT_EQ("(none)", device.sent[0].element);
    EXPECT_EQ(static_cast<DWORD>(MCI_DEVTYPE_CD_AUDIO), device.sent[0].value);
    EXPECT_EQ(0x3300u, device.sent[2].flags);
    EXPECT_EQ("E:", device.sent[2].element);
    EXPECT_EQ(static_cast<UINT>(MCI_SET), device.sent[3].message);
    EXPECT_EQ(0x402u, device.sent[3].flags);
    EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_TMSF), device.sent[3].value);
    EXPECT_EQ(7u, device.deviceId);
}

TEST(CdAudioDeviceTest, PlayTracksEndsOneSecondBeforeTheLastTrackEnds)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(4));
    device.status[{MCI_STATUS_NUMBER_OF_TRACKS, 0}] = 10;
    device.status[{MCI_STATUS_LENGTH, 3}] = MakeMsf(3, 27, 40);
    device.status[{MCI_STATUS_LENGTH, 4}] = MakeMsf(4, 0, 10);

    struct {
        int first, last;
        bool notify;
        DWORD flags, to;
    } cases[] = {
        {3, 3, true, 0xD, MakeTmsf(3, 3, 26, 40)},
        {2, 4, false, 0xC, MakeTmsf(4, 3, 59, 10)},  // whole seconds borrow a minute
        {10, 10, true, 0x5, 0},                      // the final track: to the end of the disc
    };
    for (const auto& c : cases) {
        device.sent.clear();
        device.PlayTracks(c.first, c.last, c.notify);
        const SentCommand& play = device.sent.back();
        ASSERT_EQ(static_cast<UINT>(MCI_PLAY), play.message);
        EXPECT_EQ(c.flags, play.flags) << c.first;
        EXPECT_EQ(MakeTmsf(c.first, 0, 0, 0), play.from) << c.first;
        if (c.flags & MCI_TO) {
            EXPECT_EQ(c.to, play.to) << c.first;
        }
        EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_TMSF), play.formatInForce);
    }

    // Without a track count the play still goes out, to the end of the disc.
    device.status.erase({MCI_STATUS_NUMBER_OF_TRACKS, 0});
    device.PlayTracks(3, 3, false);
    EXPECT_EQ(0x4u, device.sent.back().flags);
}

TEST(CdAudioDeviceTest, MsfQueriesSwitchToMsfAndBackEvenWhenTheyFail)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    device.status[{MCI_STATUS_LENGTH, 3}] = MakeMsf(3, 27, 40);
    device.sent.clear();

    EXPECT_EQ(static_cast<long>(MakeMsf(3, 27, 40)), device.GetTrackLength(3));
    EXPECT_EQ(-1, device.GetPosition());
    ASSERT_EQ(6u, device.sent.size());
    for (size_t i = 0; i < 6; i += 3) {
        EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_MSF), device.sent[i].value);
        EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_MSF), device.sent[i + 1].formatInForce);
        EXPECT_EQ(static_cast<DWORD>(MCI_FORMAT_TMSF), device.sent[i + 2].value);
    }
    EXPECT_EQ(0x112u, device.sent[1].flags);
    EXPECT_EQ(0x102u, device.sent[4].flags);
    EXPECT_EQ(static_cast<DWORD>(MCI_STATUS_POSITION), device.sent[4].value);
}

TEST(CdAudioDeviceTest, DiscIdIsTheIdentityAs32BitHexOrEmpty)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    struct {
        const char* identity;
        const char* id;
    } cases[] = {{"305419896", "12345678"}, {"4294967295", "FFFFFFFF"}, {"4294967297", "1"},
                 {" 855338x", "D0D2A"},     {"none", ""}};
    char id[16];
    for (const auto& c : cases) {
        device.info[MCI_INFO_MEDIA_IDENTITY] = c.identity;
        device.GetDiscId(id, sizeof id);
        EXPECT_STREQ(c.id, id) << c.identity;
    }
    EXPECT_EQ(0x800u, device.sent.back().flags);
    EXPECT_EQ(16u, device.sent.back().track);  // the return buffer's size

    char small[4];
    device.info[MCI_INFO_MEDIA_IDENTITY] = "855338";
    device.GetDiscId(small, sizeof small);
    EXPECT_STREQ("D0D", small);
}

TEST(CdAudioDeviceTest, UpcBeyondLongIsMinusOneButKeptAsText)
{
    RecordingDevice device;
    ASSERT_TRUE(device.Open(-1));
    char text[16];
    device.info[MCI_INFO_MEDIA_UPC] = "2147483647";
    EXPECT_EQ(2147483647, device.GetUpc());
    EXPECT_EQ(0x400u, device.sent.back().flags);

    device.info[MCI_INFO_MEDIA_UPC] = "4988001234567";
    EXPECT_EQ(-1, device.GetUpc());
    EXPECT_TRUE(device.GetUpcText(text, sizeof text));
    EXPECT_STREQ("4988001234567", text);
    device.info[MCI_INFO_MEDIA_UPC] = "2147483648";
    EXPECT_EQ(-1, device.GetUpc());
}

}  // namespace
