#include "TrayIcon.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// True when the shell holds an icon for the window and id.
bool ShellKnows(HWND window, UINT id)
{
    TrayIcon probe;  // never added, so it deletes nothing when it goes
    probe.Set(window, id, NIF_TIP, 0, nullptr, "");
    return Shell_NotifyIconA(NIM_MODIFY, &probe.iconData) != FALSE;
}

TEST(TrayIconTest, TipIsCutBetweenCharactersAndTheIconGoesWithTheObject)
{
    TrayIcon icon;
    EXPECT_EQ(88u, icon.iconData.cbSize);  // the first form, which every shell takes
    EXPECT_FALSE(icon.Delete()) << "never added";
    std::string tip(70, 'x');
    icon.Set(nullptr, 5, NIF_TIP, WM_APP, nullptr, tip.c_str());
    EXPECT_EQ(tip.substr(0, 63), icon.iconData.szTip);
    std::string wide;
    for (int i = 0; i < 40; ++i)
        wide += "表";
    icon.Set(nullptr, 5, NIF_TIP, WM_APP, nullptr, wide.c_str());
    EXPECT_EQ(wide.substr(0, 62), icon.iconData.szTip) << "a character that does not fit is left out whole";

    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    {
        TrayIcon shown;
        shown.Set(window, 1, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_APP, LoadIconA(nullptr, IDI_APPLICATION), "tip");
        EXPECT_TRUE(shown.Add());
        EXPECT_TRUE(ShellKnows(window, 1));
    }
    EXPECT_FALSE(ShellKnows(window, 1)) << "the icon goes with the object";
    DestroyWindow(window);
}

}  // namespace
