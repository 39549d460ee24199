#include "CdInfoMenu.h"
#include "PlayerHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The volume dialog with the auxiliary device replaced by a variable.
class FakeVolumeDialog : public VolumeDialog {
public:
    DWORD ReadVolume() override { return volume; }
    void WriteVolume(DWORD value) override { volume = value; }
    DWORD volume = MAKELONG(32767, 65535);  // the left channel is the one shown
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

TEST(PlayerDialogs, TheVolumeSliderShowsTheLeftChannelAndSetsBoth)
{
    const int percents[][2] = {{65535, 100}, {32768, 50}, {32767, 49}, {0, 0}};
    for (const auto& percent : percents)
        EXPECT_EQ(percent[1], VolumePercent(static_cast<WORD>(percent[0]))) << percent[0];

    ASSERT_TRUE(LoadTrackbarClass());
    FakeVolumeDialog dialog;
    dialog.SetTemplate(IDD_VOLUME, nullptr);
    ASSERT_NE(nullptr, dialog.CreateModeless());
    HWND slider = GetDlgItem(dialog.hwnd, IDC_VOLUMESLIDER);
    EXPECT_EQ("49%", ItemText(dialog.hwnd, IDC_VOLUMELABEL));
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(32767, 65535)), dialog.volume);  // opening changes nothing

    // The keyboard moves a trackbar as a drag does.
    SendMessageA(slider, WM_KEYDOWN, VK_NEXT, 0);  // a page of 6554 quieter
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(26213, 26213)), dialog.volume);
    EXPECT_EQ("39%", ItemText(dialog.hwnd, IDC_VOLUMELABEL));
    dialog.Destroy();
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
    // Near the work area's bottom right corner it ends flush with both edges.
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    ASSERT_TRUE(SetCursorPos(area.right - 3, area.bottom - 2));
    app.ShowVolumeDialog();
    HWND volume = app.volumeDialog.hwnd;
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(area.right, WindowRect(volume).right);
    EXPECT_EQ(area.bottom, WindowRect(volume).bottom);

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

    // The keys go through the application's own message loop.
    auto press = [&](HWND control, WPARAM key) {
        SetFocus(control);
        PostMessageA(control, WM_KEYDOWN, key, 0);
        PostMessageA(control, WM_KEYUP, key, 0xC0000000);
        PostQuitMessage(0);
        app.Run();
    };
    press(GetDlgItem(about, IDOK), VK_TAB);
    EXPECT_EQ(GetDlgItem(about, IDC_WEBSITE), GetFocus());
    press(GetDlgItem(volume, IDC_VOLUMESLIDER), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(volume));
    EXPECT_TRUE(IsWindow(about));
    press(GetDlgItem(about, IDOK), VK_RETURN);
    EXPECT_FALSE(IsWindow(about));
}

// The CD information as MenuOutline gives it; every row but the separators
// can be neither chosen nor grayed.
std::string Information(CdAudioDevice& device)
{
    HMENU menu = BuildCdInfoMenu(device);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        EXPECT_TRUE((state & MF_SEPARATOR) || (state & (MF_DISABLED | MF_GRAYED)) == MF_DISABLED) << i;
    }
    std::string outline = MenuOutline(menu);
    DestroyMenu(menu);
    return outline;
}

TEST(PlayerDialogs, TheCdInformationHasAColumnOfSixRowsThenTheTracksInOneOrTwoColumns)
{
    VirtualCd cd;
    CdAudioDevice device;
    EXPECT_EQ("×デバイスは使用中です", Information(device));
    ASSERT_TRUE(device.Open(4));  // drive E: is empty
    EXPECT_EQ("◎CDをセットしてください", Information(device));

    const struct {
        int tracks;
        const char *total, *columnBreak;
    } cases[] = {{12, "47:27", nullptr},
                 {19, "1:15:27", nullptr},
                 {20, "1:19:27", ";トラック10:  4:00;*;;;;-;;トラック11:  4:00;"},
                 {21, "1:23:27", ";トラック11:  4:00;*;;;;-;;トラック12:  4:00;"}};
    for (const auto& c : cases) {
        std::string lengths;
        for (int i = 1; i <= c.tracks; ++i)
            lengths += i == 5 ? "3:27.40 " : "4:00.00 ";  // 4:00 each but track 5
        cd.InsertDisc('E', lengths);
        std::string information = Information(device);
        char discId[16];
        device.GetDiscId(discId, sizeof discId);
        std::string head = std::string("ID: ") + discId + ";UPC: （なし）;トラック数: " + std::to_string(c.tracks) +
                           ";総演奏時間: " + c.total + ";-;《各トラックの長さ》;トラック 1:  4:00;";
        EXPECT_EQ(0u, information.find(head)) << information;
        EXPECT_NE(std::string::npos, information.find(";トラック 5:  3:27;トラック 6:  4:00;")) << information;
        EXPECT_EQ(c.columnBreak ? 1 : 0, std::count(information.begin(), information.end(), '*')) << information;
        if (c.columnBreak) {
            EXPECT_NE(std::string::npos, information.find(c.columnBreak)) << information;
        }
        EXPECT_EQ(6 + (c.columnBreak ? 6 : 0) + c.tracks, std::count(information.begin(), information.end(), ';') + 1);
    }
}

}  // namespace
