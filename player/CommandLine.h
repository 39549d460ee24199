#pragma once

#include <windows.h>

extern const char PlayTrackMessageName[];  // "VelkinPlayTrack"
const int MaxSwitchTrack = 99;

enum SwitchKind {
    SwitchNone,     // no arguments: the player starts as always
    SwitchCommand,  // "/<command>": one of the fifteen commands of section "HotKey"
    SwitchTrack,    // "/Track:<n>": play track n
    SwitchExit,     // "/Exit": end the player, as its menu's "終了" does
    SwitchHelp,     // "/?"
    SwitchUnknown,  // anything else, or more than one switch
};

// Exit codes of a start with a switch.
enum SwitchExitCode {
    SwitchDone = 0,
    SwitchBad = 2,
    SwitchNotTaken = 3,
};

// The one switch of the player's command line. "-" may stand for "/" and
// the letter case does not matter. A running player is handed the switch;
// otherwise the player starts and carries it out once it is ready.
class CommandLine {
public:
    CommandLine();

    // Reads what follows the program's name in a command line.
    void Parse(const char* line);
    // True when this process ends before it starts a player, with its exit
    // code: the usage box, a switch handed to a running player, or a stop or
    // exit with none to act on.
    bool EndsHere(int* exitCode) const;
    // A player that has just started: its switch, posted to its window.
    // A play asked for while the start has already begun one is kept.
    void PostTo(HWND window, bool playing) const;

    SwitchKind kind;
    int value;           // the command index or the track number
    char argument[128];  // the arguments as given, for the usage box

private:
    SwitchKind Classify(const char* word);
    bool MessageOf(UINT* message, WPARAM* wParam) const;
    // SwitchDone or SwitchNotTaken; -1 when no player runs.
    int SendToRunningPlayer() const;
    int ShowUsage() const;
};
