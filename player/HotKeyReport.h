#pragma once

#include "CommandTable.h"

#include <windows.h>
#include <stddef.h>

class PlayerApplication;

// Capacity of a balloon's text (NOTIFYICONDATAA::szInfo).
const size_t BalloonTextCapacity = 256;

// Tells the user which hot-keys could not be registered, once, in a balloon
// on the tray icon: each command and its key in the configuration program's
// words, and where to change them. Nothing when every key was registered.
class HotKeyReport {
public:
    explicit HotKeyReport(PlayerApplication& owner);

    // After keys were registered: bit i of failed for command i, bit
    // CommandCount + i for media key i; allTaken when every failure was a key
    // that another program holds. A report that says what one shown before
    // in this run said is not shown again.
    void Report(unsigned failed, bool allTaken);
    // The task bar is back: a report that could not be shown before.
    void ShowPending();

    char text[BalloonTextCapacity];  // the last report composed
private:
    bool WasShown(const char* report) const;

    static const int ShownCapacity = 32;
    PlayerApplication& app;
    // The reports the shell took, by a fingerprint of their text (whole
    // texts would make the player 8 KiB larger), the oldest replaced first.
    unsigned shown[ShownCapacity];
    int shownCount;
    bool pending;
};

// The balloon's text for a set of failures (bits as for Report); empty when
// there are none. A list too long for the capacity ends with the number of
// keys left out.
void ComposeHotKeyReport(unsigned failed, bool allTaken, const int (&hotKeys)[CommandCount], char* text,
                         size_t capacity);
