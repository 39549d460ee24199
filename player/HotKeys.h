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
    // "VelkinSendCommand" from another program: TRUE when the index names a
    // command. A command that opens a menu, a dialog or a program answers
    // first, so the sender does not wait on the user.
    LRESULT OnCommandMessage(WPARAM wParam);
    // "VelkinPlayTrack": the track of wParam plays, as chosen in the track
    // menu; TRUE when the disc has that track.
    LRESULT OnPlayTrackMessage(WPARAM track);

private:
    // True when another command has the same combination.
    bool IsSharedKey(int index) const;

    PlayerApplication& app;
};
