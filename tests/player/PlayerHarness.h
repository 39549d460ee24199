#pragma once

#include "PlayerApplication.h"
#include "TestSupport.h"
#include "VirtualCd.h"
#include "resource.h"

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

    std::vector<std::string> Plays() const { return cd.LogLines(" PLAY "); }
    // The track of each play's "from" (0 for a play that resumes).
    std::vector<int> PlayedTracks() const;

    VirtualCd cd;
    TempFolder folder;
    PlayerApplication app;
};

// The text of a menu item, and the texts of a menu in order joined by ";",
// "-" for a separator, "*" before the item that opens a new column (marks
// below 0x40, which no Shift_JIS character holds as its second byte).
std::string MenuText(HMENU menu, UINT item, UINT flag = MF_BYPOSITION);
MENUITEMINFOA MenuItem(HMENU menu, UINT item, bool byPosition = false);
std::string MenuOutline(HMENU menu);

// The 32-bit value after "name=" in a log line, or -1.
long LogValue(const std::string& line, const char* name);
