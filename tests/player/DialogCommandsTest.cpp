// The dialog commands of the player application and the keyboard in its
// message loop.
#include "CdInfoMenu.h"
#include "PlayerApplication.h"
#include "TestSupport.h"
#include "VirtualCd.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// Whether a comes before b in the z-order of the top-level windows.
bool IsAbove(HWND a, HWND b)
{
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == a)
            return true;
        if (w == b)
            return false;
    }
    return false;
}

BOOL CALLBACK CountAbout(HWND window, LPARAM count)
{
    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    if (strcmp(text, "Velkinプレイヤー のバージョン情報") == 0 && IsWindowVisible(window))
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int AboutWindowCount()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountAbout, reinterpret_cast<LPARAM>(&count));
    return count;
}

class DialogCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // What InitInstance does for the dialogs.
        app.SetNames("Velkinプレイヤー", "2.01");
        app.volumeDialog.SetTemplate(IDD_VOLUME, nullptr);
        app.aboutDialog.SetTemplate(IDD_ABOUT, nullptr);
    }
    void TearDown() override { DrainMessages(); }

    // The application's own loop body, for every waiting message.
    void RunLoop()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!app.PreTranslateMessage(&message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }

    void PressKey(HWND control, WPARAM key)
    {
        SetFocus(control);
        PostMessageA(control, WM_KEYDOWN, key, 0);
        PostMessageA(control, WM_KEYUP, key, 0xC0000000);
        RunLoop();
    }

    PlayerApplication app;
};

TEST_F(DialogCommandsTest, SecondVolumeCommandReplacesTheDialogAtTheNewPointer)
{
    ASSERT_TRUE(SetCursorPos(100, 120));
    app.ShowVolumeDialog();
    HWND first = app.volumeDialog.hwnd;
    ASSERT_TRUE(IsWindow(first));
    EXPECT_EQ(100, WindowRect(first).left);

    ASSERT_TRUE(SetCursorPos(300, 200));
    app.ShowVolumeDialog();
    HWND second = app.volumeDialog.hwnd;
    ASSERT_TRUE(IsWindow(second));
    EXPECT_FALSE(IsWindow(first));
    RECT rect = WindowRect(second);
    EXPECT_EQ(300, rect.left);
    EXPECT_EQ(200, rect.top);
}

TEST_F(DialogCommandsTest, SecondVersionCommandRaisesTheOpenDialog)
{
    app.ShowAboutDialog();
    HWND about = app.aboutDialog.hwnd;
    ASSERT_TRUE(IsWindow(about));

    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_TRUE(IsAbove(other, about));
    app.ShowAboutDialog();
    EXPECT_EQ(about, app.aboutDialog.hwnd);
    EXPECT_TRUE(IsAbove(about, other));
    EXPECT_EQ(1, AboutWindowCount());
    DestroyWindow(other);
}

TEST_F(DialogCommandsTest, KeyboardWorksInBothDialogsThroughTheMessageLoop)
{
    app.ShowAboutDialog();
    HWND about = app.aboutDialog.hwnd;
    PressKey(GetDlgItem(about, IDOK), VK_TAB);
    EXPECT_EQ(GetDlgItem(about, IDC_WEBSITE), GetFocus());
    PressKey(GetDlgItem(about, IDC_WEBSITE), VK_TAB);
    EXPECT_EQ(GetDlgItem(about, IDC_MAILADDRESS), GetFocus());

    app.ShowVolumeDialog();
    HWND volume = app.volumeDialog.hwnd;
    PressKey(GetDlgItem(volume, IDC_VOLUMESLIDER), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(volume));
    EXPECT_TRUE(IsWindow(about));

    PressKey(GetDlgItem(about, IDOK), VK_RETURN);
    EXPECT_FALSE(IsWindow(about));
}

// Watches the CD information while it is open, then closes it.
struct MenuWatch {
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT& call = *reinterpret_cast<CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call.message == WM_INITMENUPOPUP) {
            HMENU menu = reinterpret_cast<HMENU>(call.wParam);
            owner = call.hwnd;
            char text[64] = "";
            GetMenuStringA(menu, 10, text, sizeof text, MF_BYPOSITION);
            trackFive = text;
            rows = GetMenuItemCount(menu);
        }
        if (code == HC_ACTION && call.message == WM_ENTERIDLE && call.wParam == MSGF_MENU) {
            HWND popup = FindWindowA("#32768", nullptr);
            if (popup)
                GetWindowRect(popup, &shown);
            EndMenu();
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static HWND owner;
    static std::string trackFive;
    static int rows;
    static RECT shown;
};
HWND MenuWatch::owner;
std::string MenuWatch::trackFive;
int MenuWatch::rows;
RECT MenuWatch::shown;

TEST_F(DialogCommandsTest, CdInformationOpensAboveThePointerOwnedByThePlayerWindow)
{
    VirtualCd cd;
    cd.InsertDisc('E', "4:00.00 4:00.00 4:00.00 4:00.00 3:27.40 4:00.00");
    ASSERT_TRUE(app.CreatePlayerWindow());
    ASSERT_TRUE(app.cdDevice.Open(4));
    ASSERT_TRUE(SetCursorPos(200, 600));

    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, MenuWatch::Hook, nullptr, GetCurrentThreadId());
    app.ShowCdInfo();
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(app.window.hwnd, MenuWatch::owner);
    EXPECT_EQ(12, MenuWatch::rows);
    EXPECT_EQ("トラック 5:  3:27", MenuWatch::trackFive);
    EXPECT_EQ(600, MenuWatch::shown.bottom);
    EXPECT_EQ(200, MenuWatch::shown.left);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, app.window.hwnd, WM_NULL, WM_NULL, PM_REMOVE));
    app.window.Destroy();
}

}  // namespace
