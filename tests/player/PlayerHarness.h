#pragma once

#include "PlayerApplication.h"
#include "TestSupport.h"
#include "VirtualCd.h"

#include <string>
#include <vector>

// A player inside the test program: its window, menu, bitmaps and CD device
// on the virtual drive, without tray icon, mutex or hot-keys. The settings
// are the defaults of a missing settings file until a test changes them.
class PlayerHarness {
public:
    PlayerHarness();
    ~PlayerHarness();

    // Creates the window, loads the menu and opens the device as start-up does.
    void Start();

    // Handles messages until done() holds; false when the time ran out.
    template <typename Condition>
    bool WaitFor(Condition done, DWORD timeoutMs = 20000)
    {
        return PumpUntil(done, timeoutMs);
    }

    // The play requests in the log: the track of each "from" (0 for a play
    // without from, which resumes where the device stands).
    std::vector<int> PlayedTracks() const;
    std::vector<std::string> Plays() const { return cd.LogLines(" PLAY "); }
    // Waits until the device has started another play and has played all
    // of them; false when the time ran out.
    bool WaitForPlays(size_t count, DWORD timeoutMs = 20000);
    bool WaitForStop(DWORD timeoutMs = 20000);

    VirtualCd cd;
    TempFolder folder;
    PlayerApplication app;
};

// The 32-bit value after "name=" in a log line, or -1.
long LogValue(const std::string& line, const char* name);
