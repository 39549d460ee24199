#pragma once

#include <stddef.h>

// The keys that the shortcut-key page offers, in the order of its key list:
// a list index is a KeyTable index. The player names keys with the same words.
struct KeyTableEntry {
    const char* label;
    unsigned char code;  // virtual-key code
};

const int KeyTableCount = 85;
extern const KeyTableEntry KeyTable[KeyTableCount];

// Index of the first entry with the given code, or -1.
int FindKeyTableIndex(unsigned code);

// A hot-key value as the shortcut-key page words it: the modifiers its boxes
// name, Ctrl first ("Ctrl+Alt+Shift+Windows+"), then the key's label, for
// example "Ctrl+Alt+Shift+E". A key the table lacks is named by its code.
void FormatHotKey(int value, char* text, size_t capacity);
