#pragma once

#include <windows.h>

// The player's value under the current user's Run key, which starts it at
// logon, and the mark Task Manager sets on it when the user disables it
// there. Only the current user's keys are touched: no administrator rights.
class StartupEntry {
public:
    StartupEntry();

    // Reads the value and the mark for the player at playerPath.
    void Read(const char* playerPath);
    // The value names this player.
    bool NamesPlayer() const;
    // The value names this player and Task Manager has not disabled it.
    bool StartsHere() const;
    // The value names another velkin.exe (a moved folder, another copy).
    bool NamesElsewhere() const;
    // Makes the player start at logon, or not, when that differs from what
    // Read found. False when a key could not be written: failedKey names it.
    bool Apply(bool start);

    static const char ValueName[];
    static const char RunKey[];       // under HKEY_CURRENT_USER
    static const char ApprovedKey[];  // Task Manager's marks, Windows 8 and later

    char player[MAX_PATH];      // this folder's velkin.exe
    char registered[MAX_PATH];  // the program the value names, without quotes; empty without a value
    bool disabled;              // Task Manager's mark, which may outlive the value
    char failedKey[160];        // the full name of the key Apply could not write

private:
    bool Write();
    bool Delete(const char* key);
};
