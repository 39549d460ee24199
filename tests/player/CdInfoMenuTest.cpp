#include "CdAudioDevice.h"
#include "CdInfoMenu.h"
#include "VirtualCd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Row {
    std::string text;
    UINT state;
    bool Is(UINT flag) const { return (state & flag) == flag; }
    // Drawn in the normal colour yet not selectable.
    bool ReadOnly() const { return (state & (MF_DISABLED | MF_GRAYED)) == MF_DISABLED; }
};

std::vector<Row> Rows(HMENU menu)
{
    std::vector<Row> rows;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        rows.push_back(Row{text, GetMenuState(menu, i, MF_BYPOSITION)});
    }
    return rows;
}

// n tracks of 4:00 each, except track 5, which lasts 3:27 and 40 frames.
std::string Tracks(int n)
{
    std::string tracks;
    for (int i = 1; i <= n; ++i)
        tracks += i == 5 ? "3:27.40 " : "4:00.00 ";
    return tracks;
}

class CdInfoMenuTest : public ::testing::Test {
protected:
    std::vector<Row> InfoFor(const std::string& tracks, const std::string& upc = "")
    {
        cd.InsertDisc('E', tracks, upc);
        EXPECT_TRUE(device.Open(4));
        return Build();
    }
    std::vector<Row> Build()
    {
        HMENU menu = BuildCdInfoMenu(device);
        EXPECT_NE(nullptr, menu);
        std::vector<Row> rows = Rows(menu);
        DestroyMenu(menu);
        return rows;
    }
    // The first column's head: four information lines, separator, heading.
    void ExpectHead(const std::vector<Row>& rows, int trackCount)
    {
        char discId[16];
        device.GetDiscId(discId, sizeof discId);
        ASSERT_NE('\0', discId[0]);
        EXPECT_EQ(std::string("ID: ") + discId, rows[0].text);
        EXPECT_EQ("トラック数: " + std::to_string(trackCount), rows[2].text);
        EXPECT_TRUE(rows[4].Is(MF_SEPARATOR));
        EXPECT_EQ("《各トラックの長さ》", rows[5].text);
        for (int i : {0, 1, 2, 3, 5})
            EXPECT_TRUE(rows[i].ReadOnly()) << i;
    }
    // The six rows that open the second column at position at.
    void ExpectSecondColumnHead(const std::vector<Row>& rows, size_t at)
    {
        EXPECT_TRUE(rows[at].Is(MF_MENUBARBREAK));
        for (size_t i = at; i < at + 6; ++i) {
            EXPECT_EQ("", rows[i].text) << i;
            EXPECT_TRUE(rows[i].Is(MF_DISABLED)) << i;
        }
        EXPECT_TRUE(rows[at + 4].Is(MF_SEPARATOR));
    }

    VirtualCd cd;
    CdAudioDevice device;
};

TEST_F(CdInfoMenuTest, TwelveTracksMakeOneColumnOfSixAndTwelveRows)
{
    std::vector<Row> rows = InfoFor(Tracks(12));
    ASSERT_EQ(18u, rows.size());
    ExpectHead(rows, 12);
    EXPECT_EQ("UPC: （なし）", rows[1].text);
    EXPECT_EQ("総演奏時間: 47:27", rows[3].text);  // 11 x 4:00 + 3:27.40
    EXPECT_EQ("トラック 1:  4:00", rows[6].text);
    EXPECT_EQ("トラック 5:  3:27", rows[10].text);
    EXPECT_EQ("トラック12:  4:00", rows[17].text);
    for (const Row& row : rows) {
        EXPECT_FALSE(row.Is(MF_MENUBARBREAK));
        if (!row.Is(MF_SEPARATOR)) {
            EXPECT_TRUE(row.ReadOnly()) << row.text;
        }
    }
}

TEST_F(CdInfoMenuTest, TwentyTracksSplitAfterTenAndTwentyOneAfterEleven)
{
    std::vector<Row> rows = InfoFor(Tracks(20));
    ASSERT_EQ(32u, rows.size());
    ExpectHead(rows, 20);
    EXPECT_EQ("トラック10:  4:00", rows[15].text);
    ExpectSecondColumnHead(rows, 16);
    EXPECT_EQ("トラック11:  4:00", rows[22].text);
    EXPECT_EQ("トラック20:  4:00", rows[31].text);

    device.Close();
    rows = InfoFor(Tracks(21));
    ASSERT_EQ(33u, rows.size());
    ExpectHead(rows, 21);
    EXPECT_EQ("トラック11:  4:00", rows[16].text);
    ExpectSecondColumnHead(rows, 17);
    EXPECT_EQ("トラック12:  4:00", rows[23].text);
    EXPECT_EQ("トラック21:  4:00", rows[32].text);

    device.Close();
    rows = InfoFor(Tracks(19));
    ASSERT_EQ(25u, rows.size());
    for (const Row& row : rows)
        EXPECT_FALSE(row.Is(MF_MENUBARBREAK));
}

TEST_F(CdInfoMenuTest, UpcShowsEveryDigit)
{
    std::vector<Row> rows = InfoFor("3:00.00 3:00.00", "4988001234567");
    ASSERT_EQ(8u, rows.size());
    EXPECT_EQ("UPC: 4988001234567", rows[1].text);
}

TEST_F(CdInfoMenuTest, WithoutAReadableDiscOneLineSaysWhy)
{
    ASSERT_TRUE(device.Open(4));  // drive E: is empty
    std::vector<Row> rows = Build();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("◎CDをセットしてください", rows[0].text);
    EXPECT_TRUE(rows[0].ReadOnly());

    CdAudioDevice neverOpened;
    HMENU menu = BuildCdInfoMenu(neverOpened);
    rows = Rows(menu);
    DestroyMenu(menu);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("×デバイスは使用中です", rows[0].text);
}

}  // namespace
