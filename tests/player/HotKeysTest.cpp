#include "PlayerHarness.h"

#include <gtest/gtest.h>

namespace {

// True when the combination is free: this test could register it itself.
bool IsFree(int value)
{
    return RegisterHotKey(nullptr, 0x7000, HotKeyModifiers(value), HotKeyCode(value)) &&
           UnregisterHotKey(nullptr, 0x7000);
}

TEST(HotKeys, EveryConfiguredCombinationIsRegisteredUnderItsCommandIndex)
{
    PlayerHarness player;
    player.app.settings.hotKeys[CommandEject] = 262213;  // Shift in the high word, E in the low word
    player.Start();
    player.app.hotKeys.RegisterHotKeys();
    EXPECT_FALSE(RegisterHotKey(nullptr, 0x7001, MOD_SHIFT, 'E'));
    // Each combination hangs on its index: freeing that id frees its keys.
    for (int index = 0; index < CommandCount; ++index) {
        EXPECT_FALSE(IsFree(player.app.settings.hotKeys[index])) << "not registered: " << index;
        ASSERT_TRUE(UnregisterHotKey(player.app.window.hwnd, index)) << index;
        EXPECT_TRUE(IsFree(player.app.settings.hotKeys[index])) << index;
    }
}

}  // namespace
