#include "PlayerHarness.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

TEST(PlayerApplication, TheModelessDialogsTakeTheirKeyboardMessages)
{
    PlayerHarness player;
    player.Start();
    MSG message = {};
    message.hwnd = player.app.window.hwnd;
    message.message = WM_KEYDOWN;
    message.wParam = VK_TAB;
    EXPECT_FALSE(player.app.PreTranslateMessage(&message));

    player.app.aboutDialog.SetTemplate(IDD_ABOUT, nullptr);
    ASSERT_NE(nullptr, player.app.aboutDialog.CreateModeless());
    message.hwnd = GetDlgItem(player.app.aboutDialog.hwnd, IDOK);
    EXPECT_TRUE(player.app.PreTranslateMessage(&message));
    DestroyWindow(player.app.aboutDialog.hwnd);

    // A dialog whose window is gone takes nothing.
    EXPECT_FALSE(player.app.PreTranslateMessage(&message));
}

}  // namespace
