#pragma once

#include <windows.h>

class PlayerApplication;

// The fifteen global hot-keys and the command indices they share with the
// "VelkinSendCommand" message.
class HotKeys {
public:
    explicit HotKeys(PlayerApplication& owner);

    // Registers every configured combination for the player window, with
    // the command index as id, in place of those registered before. The keys
    // that fail go to the hot-key report.
    void RegisterHotKeys();
    LRESULT OnHotKey(WPARAM wParam);

private:
    // True when another command has the same combination.
    bool IsSharedKey(int index) const;

    PlayerApplication& app;
};
