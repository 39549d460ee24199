#include "TrayIcon.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

namespace {

// True when the shell holds an icon for the window and id.
bool ShellKnows(HWND window, UINT id)
{
    NOTIFYICONDATAA probe = {};
    probe.cbSize = 88;
    probe.hWnd = window;
    probe.uID = id;
    probe.uFlags = NIF_TIP;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

TEST(TrayIconTest, SetKeepsTheFirstRecordFormAndCutsTheTip)
{
    TrayIcon icon;
    EXPECT_EQ(88u, icon.iconData.cbSize);
    EXPECT_EQ(RegisterWindowMessageA("TaskbarCreated"), icon.taskbarCreatedMessage);
    EXPECT_FALSE(icon.Delete());  // never added

    std::string tip(70, 'x');
    icon.Set(nullptr, 5, NIF_MESSAGE | NIF_TIP, WM_APP, nullptr, tip.c_str());
    EXPECT_EQ(tip.substr(0, 63), icon.iconData.szTip);
    EXPECT_EQ(5u, icon.iconData.uID);
    EXPECT_EQ(UINT(WM_APP), icon.iconData.uCallbackMessage);

    // A double-byte character that does not fit is left out whole.
    std::string wide;
    for (int i = 0; i < 40; ++i)
        wide += "表";
    icon.Set(nullptr, 5, NIF_TIP, WM_APP, nullptr, wide.c_str());
    EXPECT_EQ(wide.substr(0, 62), icon.iconData.szTip);

    icon.Set(nullptr, 5, NIF_TIP, WM_APP, nullptr, nullptr);
    EXPECT_STREQ("", icon.iconData.szTip);
}

TEST(TrayIconTest, AddShowsTheIconAndDeleteRemovesIt)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    {
        TrayIcon icon;
        icon.Set(window, 1, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_APP, LoadIconA(nullptr, IDI_APPLICATION), "tip");
        EXPECT_TRUE(icon.Add());
        EXPECT_TRUE(ShellKnows(window, 1));
        EXPECT_TRUE(icon.Delete());
        EXPECT_FALSE(ShellKnows(window, 1));
        // Added again, the icon goes with the object.
        EXPECT_TRUE(icon.Add());
    }
    EXPECT_FALSE(ShellKnows(window, 1));
    DestroyWindow(window);
}

}  // namespace
