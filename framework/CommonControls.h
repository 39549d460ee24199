#pragma once

#include <windows.h>

// Registers common control classes (ICC_ flags) when a window first needs
// them. The library is loaded then, not at start-up: loading it registers
// all of its window classes, which costs more than the rest of a start.
bool LoadCommonControls(DWORD classes);
