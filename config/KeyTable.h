#pragma once

// The keys that the shortcut-key page offers, in the order of its key list:
// a list index is a KeyTable index.
struct KeyTableEntry {
    const char* label;
    unsigned char code;  // virtual-key code
};

const int KeyTableCount = 85;
extern const KeyTableEntry KeyTable[KeyTableCount];

// Index of the first entry with the given code, or -1.
int FindKeyTableIndex(unsigned code);
