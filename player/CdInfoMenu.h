#pragma once

#include <windows.h>

class CdAudioDevice;

// The CD information: a popup menu of read-only lines about the disc in the
// drive, built afresh from the device's answers each time it is shown.
// The caller destroys the menu.
HMENU BuildCdInfoMenu(CdAudioDevice& device);

// Opens a popup menu at the pointer, owned by window, and returns when it
// closes.
void ShowPopupAtPointer(HMENU menu, HWND window);
