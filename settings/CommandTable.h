#pragma once

// The fifteen shortcut-key commands. The index numbers the hot-key ids, the
// keys of section "HotKey" and the wParam of "VelkinSendCommand".
enum CommandIndex {
    CommandMainMenu,
    CommandTrackMenu,
    CommandDriveMenu,
    CommandModeMenu,
    CommandPlay,
    CommandStop,
    CommandBack,
    CommandNext,
    CommandEject,
    CommandLoad,
    CommandCustom,
    CommandInfo,
    CommandVolume,
    CommandVolCtrl,
    CommandPropMM,
    CommandCount
};

struct CommandTableEntry {
    const char* key;    // key name in section "HotKey"
    const char* label;  // how the shortcut-key page lists the command
    int defaultValue;   // modifiers * 65536 + virtual-key code
};

extern const CommandTableEntry CommandTable[CommandCount];

// Hot-key values: modifier set in the high word, virtual-key code in the low.
inline int MakeHotKeyValue(unsigned modifiers, unsigned keyCode)
{
    return static_cast<int>((modifiers << 16) | (keyCode & 0xFFFF));
}
inline unsigned HotKeyModifiers(int value)
{
    return static_cast<unsigned>(value) >> 16;
}
inline unsigned HotKeyCode(int value)
{
    return static_cast<unsigned>(value) & 0xFFFF;
}
