#include "PlayerHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// The volume dialog with the auxiliary device replaced by a variable.
class FakeVolumeDialog : public VolumeDialog {
public:
    DWORD ReadVolume() override { return volume; }
    void WriteVolume(DWORD value) override { volume = value; }
    DWORD volume = MAKELONG(32767, 65535);  // the left channel is the one shown
};

TEST(PlayerDialogs, VolumeAndVersionDialogsAsTheCommandsOpenThemAndTheirKeysThroughTheLoop)
{
    const int percents[][2] = {{65535, 100}, {32768, 50}, {32767, 49}, {0, 0}};
    for (const auto& percent : percents)
        EXPECT_EQ(percent[1], VolumePercent(static_cast<WORD>(percent[0]))) << percent[0];

    // At the pointer, the slider showing the left channel and setting both; the
    // keyboard moves a trackbar as a drag does.
    FakeVolumeDialog fake;
    fake.SetTemplate(IDD_VOLUME, nullptr);
    ASSERT_TRUE(SetCursorPos(100, 120) && LoadTrackbarClass() && fake.CreateModeless());
    RECT rect = {};
    GetWindowRect(fake.hwnd, &rect);
    EXPECT_TRUE(rect.left == 100 && rect.top == 120) << rect.left << "," << rect.top;
    EXPECT_EQ("49%", ItemText(fake.hwnd, IDC_VOLUMELABEL));
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(32767, 65535)), fake.volume);  // opening changes nothing
    SendMessageA(GetDlgItem(fake.hwnd, IDC_VOLUMESLIDER), WM_KEYDOWN, VK_NEXT, 0);  // a page of 6554 quieter
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(26213, 26213)), fake.volume);
    EXPECT_EQ("39%", ItemText(fake.hwnd, IDC_VOLUMELABEL));
    fake.Destroy();

    // A second command replaces the dialog. Near the work area's bottom right
    // corner it ends flush with both edges.
    PlayerHarness player;
    PlayerApplication& app = player.app;
    app.volumeDialog.SetTemplate(IDD_VOLUME, nullptr);
    app.aboutDialog.SetTemplate(IDD_ABOUT, nullptr);
    app.ShowVolumeDialog();
    HWND first = app.volumeDialog.hwnd;
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    ASSERT_TRUE(SetCursorPos(area.right - 3, area.bottom - 2));
    app.ShowVolumeDialog();
    HWND volume = app.volumeDialog.hwnd;
    EXPECT_FALSE(IsWindow(first));
    GetWindowRect(volume, &rect);
    EXPECT_TRUE(rect.right == area.right && rect.bottom == area.bottom) << rect.right << "," << rect.bottom;

    app.ShowAboutDialog();
    HWND about = app.aboutDialog.hwnd;
    EXPECT_EQ("Velkinプレイヤー", ItemText(about, IDC_PRODUCTNAME));
    EXPECT_EQ(std::string("2.01  (Build: ") + BuildDate + " " + BuildTime + ")", ItemText(about, IDC_VERSION));
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    auto above = [](HWND a, HWND b) {  // a before b in the z-order of the top-level windows
        HWND w = GetTopWindow(nullptr);
        while (w && w != a && w != b)
            w = GetWindow(w, GW_HWNDNEXT);
        return w == a;
    };
    ASSERT_TRUE(above(other, about));
    app.ShowAboutDialog();
    EXPECT_EQ(about, app.aboutDialog.hwnd);
    EXPECT_TRUE(above(about, other));
    DestroyWindow(other);

    // The dialogs' keys go through the application's own message loop.
    auto press = [&](HWND control, WPARAM key) {
        SetFocus(control);
        PostMessageA(control, WM_KEYDOWN, key, 0);
        PostQuitMessage(0);
        app.Run();
    };
    press(GetDlgItem(volume, IDC_VOLUMESLIDER), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(volume));
    EXPECT_TRUE(IsWindow(about));
    press(GetDlgItem(about, IDOK), VK_RETURN);
    EXPECT_FALSE(IsWindow(about));
}

}  // namespace
