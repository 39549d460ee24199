#include "TrayIcon.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TrayIconTest, TipIsCutBetweenCharactersAndTheIconGoesWithTheObject)
{
    TrayIcon icon;
    EXPECT_EQ(88u, icon.iconData.cbSize);  // the first form, which every shell takes
    EXPECT_FALSE(icon.Delete()) << "never added";
    std::string tip(70, 'x');
    icon.Set(nullptr, 5, NIF_TIP, WM_APP, nullptr, tip.c_str());
    EXPECT_EQ(tip.substr(0, 63), icon.iconData.szTip);
    const std::string ten = "表表表表表表表表表表", wide = ten + ten + ten + ten;
    icon.Set(nullptr, 5, NIF_TIP, WM_APP, nullptr, wide.c_str());
    EXPECT_EQ(wide.substr(0, 62), icon.iconData.szTip) << "a character that does not fit is left out whole";

    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    NOTIFYICONDATAA known;  // asks the shell whether it holds the icon
    {
        TrayIcon shown;
        shown.Set(window, 1, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_APP, LoadIconA(nullptr, IDI_APPLICATION), "tip");
        EXPECT_FALSE(shown.ShowBalloon("title", "text")) << "not yet shown";
        EXPECT_TRUE(shown.Add());
        EXPECT_TRUE(shown.ShowBalloon("title", "text"));
        known = shown.iconData;
        EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &known));
    }
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &known)) << "the icon goes with the object";
    DestroyWindow(window);
}

}  // namespace
