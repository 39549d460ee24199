#include "AboutDialog.h"
#include "Application.h"
#include "TestSupport.h"
#include "VolumeDialog.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

// The volume dialog with the auxiliary device replaced by a variable.
class FakeVolumeDialog : public VolumeDialog {
public:
    DWORD ReadVolume() override { return volume; }
    void WriteVolume(DWORD value) override
    {
        written.push_back(value);
        volume = value;
    }
    DWORD volume = 0;
    std::vector<DWORD> written;
};

std::string ItemText(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

RECT WorkArea()
{
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(LoadTrackbarClass()); }
    void TearDown() override { DrainMessages(); }

    static HWND OpenVolume(FakeVolumeDialog& dialog, DWORD volume)
    {
        dialog.volume = volume;
        dialog.SetTemplate(IDD_VOLUME, nullptr);
        return dialog.CreateModeless();
    }
};

TEST_F(DialogTest, VolumePercentTruncatesTowardZero)
{
    EXPECT_EQ(100, VolumePercent(65535));
    EXPECT_EQ(50, VolumePercent(32768));
    EXPECT_EQ(49, VolumePercent(32767));
    EXPECT_EQ(0, VolumePercent(0));
    EXPECT_EQ(0, VolumePercent(655));  // 0.9995%
    char label[16];
    FormatVolumeLabel(32768, label, sizeof label);
    EXPECT_STREQ("50%", label);
}

TEST_F(DialogTest, PlacementKeepsTheDialogInsideTheWorkAreasRightAndBottom)
{
    const RECT window = {0, 0, 80, 150};
    const RECT area = {0, 0, 1024, 740};

    RECT placed = PlaceRectAtPointer(window, POINT{1020, 735}, area);
    EXPECT_EQ(1024, placed.right);
    EXPECT_EQ(740, placed.bottom);
    EXPECT_EQ(80, placed.right - placed.left);
    EXPECT_EQ(150, placed.bottom - placed.top);

    placed = PlaceRectAtPointer(window, POINT{3, 4}, area);
    EXPECT_EQ(3, placed.left);
    EXPECT_EQ(4, placed.top);

    // Only one edge out: only that one is pulled back.
    placed = PlaceRectAtPointer(window, POINT{1000, 10}, area);
    EXPECT_EQ(1024, placed.right);
    EXPECT_EQ(10, placed.top);

    // A work area that does not start at the origin (taskbar at the top left).
    const RECT shifted = {0, 30, 1024, 768};
    placed = PlaceRectAtPointer(window, POINT{100, 0}, shifted);
    EXPECT_EQ(100, placed.left);
    EXPECT_EQ(0, placed.top);  // the top edge is not adjusted
}

TEST_F(DialogTest, VolumeDialogNearTheBottomRightEndsFlushWithTheWorkArea)
{
    const RECT area = WorkArea();
    ASSERT_TRUE(SetCursorPos(area.right - 3, area.bottom - 2));
    FakeVolumeDialog dialog;
    ASSERT_NE(nullptr, OpenVolume(dialog, 0));
    RECT rect = WindowRect(dialog.hwnd);
    EXPECT_EQ(area.right, rect.right);
    EXPECT_EQ(area.bottom, rect.bottom);
    EXPECT_TRUE(IsWindowVisible(dialog.hwnd));
}

TEST_F(DialogTest, VolumeDialogShowsTheLeftChannelAndTheSliderSetsBoth)
{
    FakeVolumeDialog dialog;
    ASSERT_NE(nullptr, OpenVolume(dialog, MAKELONG(32767, 65535)));
    HWND slider = GetDlgItem(dialog.hwnd, IDC_VOLUMESLIDER);
    EXPECT_EQ("49%", ItemText(dialog.hwnd, IDC_VOLUMELABEL));
    EXPECT_EQ(32768, SendMessageA(slider, TBM_GETPOS, 0, 0));  // loud is at the top
    EXPECT_EQ(65535, SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    EXPECT_TRUE(dialog.written.empty());  // opening changes nothing

    // The keyboard moves a trackbar as a drag does, with WM_VSCROLL to the dialog.
    SendMessageA(slider, WM_KEYDOWN, VK_HOME, 0);
    ASSERT_FALSE(dialog.written.empty());
    EXPECT_EQ(0xFFFFFFFFu, dialog.written.back());
    EXPECT_EQ("100%", ItemText(dialog.hwnd, IDC_VOLUMELABEL));

    SendMessageA(slider, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(0u, dialog.written.back());
    EXPECT_EQ("0%", ItemText(dialog.hwnd, IDC_VOLUMELABEL));

    // One page down from 32767 loud is 6554 quieter: 26214 on both channels.
    SendMessageA(slider, TBM_SETPOS, TRUE, 32768);
    SendMessageA(slider, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(26213, 26213)), dialog.written.back());
    EXPECT_EQ("39%", ItemText(dialog.hwnd, IDC_VOLUMELABEL));

    HWND window = dialog.hwnd;
    SendMessageA(window, WM_CLOSE, 0, 0);  // the close box
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, dialog.hwnd);
}

TEST_F(DialogTest, VersionDialogShowsTitleVersionAndTheProjectsAddresses)
{
    Application app;
    app.SetNames("Velkinプレイヤー", "2.01");
    AboutDialog dialog(app);
    dialog.SetTemplate(IDD_ABOUT, nullptr);
    ASSERT_NE(nullptr, dialog.CreateModeless());

    EXPECT_EQ("Velkinプレイヤー", ItemText(dialog.hwnd, IDC_PRODUCTNAME));
    std::string version = ItemText(dialog.hwnd, IDC_VERSION);
    EXPECT_EQ(std::string("2.01  (Build: ") + BuildDate + " " + BuildTime + ")", version);
    EXPECT_TRUE(std::regex_match(version, std::regex(R"(2\.01  \(Build: [A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4} )"
                                                     R"([0-9]{2}:[0-9]{2}:[0-9]{2}\))")))
        << version;
    EXPECT_EQ(ProjectWebPage, ItemText(dialog.hwnd, IDC_WEBSITE));
    EXPECT_EQ(ProjectMailAddress, ItemText(dialog.hwnd, IDC_MAILADDRESS));
    // The project's own placeholders, not anybody's real address.
    EXPECT_NE(std::string::npos, std::string(ProjectWebPage).find("velkin.example"));
    EXPECT_NE(std::string::npos, std::string(ProjectMailAddress).find("@example."));

    // Centred on the screen.
    RECT screen = WindowRect(GetDesktopWindow());
    RECT rect = WindowRect(dialog.hwnd);
    EXPECT_EQ((screen.right - screen.left - (rect.right - rect.left)) / 2, rect.left);
    EXPECT_EQ((screen.bottom - screen.top - (rect.bottom - rect.top)) / 2, rect.top);
    EXPECT_TRUE(IsWindowVisible(dialog.hwnd));

    HWND window = dialog.hwnd;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
