#pragma once

#include "CddbLookup.h"
#include "Settings.h"

#include <windows.h>

class PlayerApplication;

// Asks the disc database for the titles of a disc that no "cdplayer.ini"
// knows, once the user has turned the lookup on: at start-up, when a disc
// arrives and when the drive changes. The first exact match is written as the
// title editor writes it, or, where the file cannot be written, kept for this
// run. A lookup that fails shows nothing and is not repeated for the disc
// until a disc arrives again.
class DiscLookup {
public:
    explicit DiscLookup(PlayerApplication& owner);

    void LookUpDiscInDrive();
    // Arrival and removal of a volume; only those of the CD drive in use count.
    void OnDeviceChange(WPARAM event, LPARAM data);
    void OnAnswer(CddbLookup* lookup);
    // Whether an answer is still awaited.
    bool Waiting() const { return pending != nullptr; }

private:
    void Take(const CddbLookup& lookup);

    PlayerApplication& app;
    CddbLookup* pending;  // the lookup whose answer is awaited; null when none
    char triedDisc[16];   // asked since the last arrival: not again
};

// Where and how to ask, from the [CDDB] settings.
void CddbServerFromSettings(const Settings& settings, CddbServer& server);
