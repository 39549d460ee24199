#include "CdInfoMenu.h"
#include "PlayerHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// The volume dialog with the auxiliary device replaced by a variable.
class FakeVolumeDialog : public VolumeDialog {
public:
    DWORD ReadVolume() override { return volume; }
    void WriteVolume(DWORD value) override
    {
        volume = value;
        ++writes;
    }
    DWORD volume = MAKELONG(32767, 65535);  // the left channel is the one shown
    int writes = 0;
};

std::string ItemText(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

TEST(PlayerDialogs, TheVolumeSliderSetsBothChannelsAndTheDialogEndsInsideTheWorkArea)
{
    const struct {
        WORD volume;
        const char* label;
    } labels[] = {{65535, "100%"}, {32768, "50%"}, {32767, "49%"}, {0, "0%"}};
    for (const auto& expected : labels) {
        char label[16];
        FormatVolumeLabel(expected.volume, label, sizeof label);
        EXPECT_STREQ(expected.label, label);
    }

    ASSERT_TRUE(LoadTrackbarClass());
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    ASSERT_TRUE(SetCursorPos(area.right - 3, area.bottom - 2));
    FakeVolumeDialog dialog;
    dialog.SetTemplate(IDD_VOLUME, nullptr);
    ASSERT_NE(nullptr, dialog.CreateModeless());
    EXPECT_EQ(area.right, WindowRect(dialog.hwnd).right);
    EXPECT_EQ(area.bottom, WindowRect(dialog.hwnd).bottom);
    HWND slider = GetDlgItem(dialog.hwnd, IDC_VOLUMESLIDER);
    EXPECT_EQ("49%", ItemText(dialog.hwnd, IDC_VOLUMELABEL));
    EXPECT_EQ(32768, SendMessageA(slider, TBM_GETPOS, 0, 0));  // loud is at the top
    EXPECT_EQ(0, dialog.writes);

    // The keyboard moves a trackbar as a drag does.
    SendMessageA(slider, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(0xFFFFFFFFu, dialog.volume);
    EXPECT_EQ("100%", ItemText(dialog.hwnd, IDC_VOLUMELABEL));
    SendMessageA(slider, TBM_SETPOS, TRUE, 32768);
    SendMessageA(slider, WM_KEYDOWN, VK_NEXT, 0);  // a page of 6554 quieter
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(26213, 26213)), dialog.volume);
    EXPECT_EQ("39%", ItemText(dialog.hwnd, IDC_VOLUMELABEL));
    SendMessageA(dialog.hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, dialog.hwnd);
}

// Whether a comes before b in the z-order of the top-level windows.
bool IsAbove(HWND a, HWND b)
{
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == a || w == b)
            return w == a;
    }
    return false;
}

TEST(PlayerDialogs, CommandsReplaceTheVolumeDialogRaiseTheVersionAndTheLoopCarriesTheirKeys)
{
    PlayerHarness player;
    PlayerApplication& app = player.app;
    app.volumeDialog.SetTemplate(IDD_VOLUME, nullptr);
    app.aboutDialog.SetTemplate(IDD_ABOUT, nullptr);
    ASSERT_TRUE(SetCursorPos(100, 120));
    app.ShowVolumeDialog();
    HWND first = app.volumeDialog.hwnd;
    EXPECT_EQ(100, WindowRect(first).left);
    EXPECT_EQ(120, WindowRect(first).top);
    ASSERT_TRUE(SetCursorPos(300, 200));
    app.ShowVolumeDialog();
    HWND volume = app.volumeDialog.hwnd;
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(300, WindowRect(volume).left);
    EXPECT_EQ(200, WindowRect(volume).top);

    app.ShowAboutDialog();
    HWND about = app.aboutDialog.hwnd;
    EXPECT_EQ("Velkinプレイヤー", ItemText(about, IDC_PRODUCTNAME));
    EXPECT_EQ(std::string("2.01  (Build: ") + BuildDate + " " + BuildTime + ")", ItemText(about, IDC_VERSION));
    // The project's own placeholders, not anybody's real address.
    EXPECT_NE(std::string::npos, ItemText(about, IDC_WEBSITE).find("velkin.example"));
    EXPECT_NE(std::string::npos, ItemText(about, IDC_MAILADDRESS).find("@example."));
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_TRUE(IsAbove(other, about));
    app.ShowAboutDialog();
    EXPECT_EQ(about, app.aboutDialog.hwnd);
    EXPECT_TRUE(IsAbove(about, other));
    DestroyWindow(other);

    // The application's own loop body handles the keys.
    auto press = [&](HWND control, WPARAM key) {
        SetFocus(control);
        PostMessageA(control, WM_KEYDOWN, key, 0);
        PostMessageA(control, WM_KEYUP, key, 0xC0000000);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!app.PreTranslateMessage(&message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    };
    press(GetDlgItem(about, IDOK), VK_TAB);
    EXPECT_EQ(GetDlgItem(about, IDC_WEBSITE), GetFocus());
    press(GetDlgItem(about, IDC_WEBSITE), VK_TAB);
    EXPECT_EQ(GetDlgItem(about, IDC_MAILADDRESS), GetFocus());
    press(GetDlgItem(volume, IDC_VOLUMESLIDER), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(volume));
    EXPECT_TRUE(IsWindow(about));
    press(GetDlgItem(about, IDOK), VK_RETURN);
    EXPECT_FALSE(IsWindow(about));
}

// The rows of the CD information: "-" for a separator, "|" before a row that
// opens a column, "!" before a row with text that can be chosen or is grayed.
std::vector<std::string> InfoRows(CdAudioDevice& device)
{
    HMENU menu = BuildCdInfoMenu(device);
    std::vector<std::string> rows;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        bool readOnly = (state & (MF_DISABLED | MF_GRAYED)) == MF_DISABLED;
        std::string row = (state & MF_SEPARATOR) ? "-" : (text[0] && !readOnly ? "!" : "") + std::string(text);
        rows.push_back((state & MF_MENUBARBREAK) ? "|" + row : row);
    }
    DestroyMenu(menu);
    return rows;
}

std::string TrackRow(int track, const char* length)
{
    return (track < 10 ? "トラック " : "トラック") + std::to_string(track) + ":  " + length;
}

TEST(PlayerDialogs, TheCdInformationHasAColumnOfSixRowsThenTheTracksInOneOrTwoColumns)
{
    VirtualCd cd;
    CdAudioDevice device;
    EXPECT_EQ(std::vector<std::string>{"×デバイスは使用中です"}, InfoRows(device));
    ASSERT_TRUE(device.Open(4));  // drive E: is empty
    EXPECT_EQ(std::vector<std::string>{"◎CDをセットしてください"}, InfoRows(device));
    device.Close();

    // Every track lasts 4:00 but track 5, which lasts 3:27 and 40 frames.
    const struct {
        int tracks, breakAt;
        const char* total;
    } cases[] = {{12, -1, "47:27"}, {19, -1, "1:15:27"}, {20, 10, "1:19:27"}, {21, 11, "1:23:27"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.tracks) + " tracks");
        std::string lengths;
        for (int i = 1; i <= c.tracks; ++i)
            lengths += i == 5 ? "3:27.40 " : "4:00.00 ";  // 4:00 each but track 5
        cd.InsertDisc('E', lengths);
        ASSERT_TRUE(device.Open(4));
        std::vector<std::string> rows = InfoRows(device);
        char discId[16];
        device.GetDiscId(discId, sizeof discId);
        device.Close();
        ASSERT_EQ(6 + (c.breakAt < 0 ? 0 : 6) + c.tracks, int(rows.size()));
        EXPECT_EQ((std::vector<std::string>{std::string("ID: ") + discId, "UPC: （なし）",
                                            "トラック数: " + std::to_string(c.tracks),
                                            std::string("総演奏時間: ") + c.total, "-", "《各トラックの長さ》",
                                            TrackRow(1, "4:00")}),
                  std::vector<std::string>(rows.begin(), rows.begin() + 7));
        EXPECT_EQ(TrackRow(5, "3:27"), rows[10]);
        EXPECT_EQ(TrackRow(c.tracks, "4:00"), rows.back());
        int breaks = 0;
        for (const std::string& row : rows) {
            EXPECT_NE('!', row[0]) << row;
            breaks += row[0] == '|';
        }
        EXPECT_EQ(c.breakAt < 0 ? 0 : 1, breaks);
        if (c.breakAt > 0) {
            EXPECT_EQ((std::vector<std::string>{TrackRow(c.breakAt, "4:00"), "|", "", "", "", "-", "",
                                                TrackRow(c.breakAt + 1, "4:00")}),
                      std::vector<std::string>(rows.begin() + 5 + c.breakAt, rows.begin() + 13 + c.breakAt));
        }
    }
}

}  // namespace
