#include "PlayerHarness.h"

#include <gtest/gtest.h>

namespace {

// True when the combination is free: this test could register it itself.
bool IsFree(int value)
{
    const int probeId = 0x7000;
    if (!RegisterHotKey(nullptr, probeId, HotKeyModifiers(value), HotKeyCode(value)))
        return false;
    UnregisterHotKey(nullptr, probeId);
    return true;
}

TEST(HotKeys, EveryConfiguredCombinationIsRegisteredUnderItsCommandIndex)
{
    PlayerHarness player;
    const int shiftE = 262213;  // Shift in the high word, E in the low word
    player.app.settings.hotKeys[CommandEject] = shiftE;
    player.Start();
    for (int index = 0; index < CommandCount; ++index)
        ASSERT_TRUE(IsFree(player.app.settings.hotKeys[index])) << "taken before the player: " << index;

    player.app.hotKeys.RegisterHotKeys();
    for (int index = 0; index < CommandCount; ++index)
        EXPECT_FALSE(IsFree(player.app.settings.hotKeys[index])) << "not registered: " << index;
    EXPECT_FALSE(IsFree(MakeHotKeyValue(MOD_SHIFT, 'E')));
    EXPECT_TRUE(IsFree(MakeHotKeyValue(MOD_ALT | MOD_CONTROL | MOD_SHIFT, 'E')));

    // Each combination hangs on its index: freeing one id frees its keys.
    for (int index = 0; index < CommandCount; ++index) {
        ASSERT_TRUE(UnregisterHotKey(player.app.window.hwnd, index)) << index;
        EXPECT_TRUE(IsFree(player.app.settings.hotKeys[index])) << index;
    }
}

TEST(HotKeys, ReadingTheSettingsAgainRegistersOnceTheWindowExists)
{
    PlayerHarness player;
    WriteWholeFile(player.folder.File("velkin.ini"), "[HotKey]\r\nNext=131146\r\n");  // Ctrl+J
    player.app.ReloadSettings();
    EXPECT_EQ(131146, player.app.settings.hotKeys[CommandNext]);
    EXPECT_TRUE(IsFree(131146));

    player.Start();
    player.app.ReloadSettings();
    EXPECT_FALSE(IsFree(131146));
    for (int index = 0; index < CommandCount; ++index)
        UnregisterHotKey(player.app.window.hwnd, index);
}

}  // namespace
