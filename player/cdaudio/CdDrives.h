#pragma once

#include <windows.h>
#include <stddef.h>

// Whether the drive (0 = A:) is a CD-ROM drive.
bool IsCdDrive(int drive);

// The first CD-ROM drive at or after index first (0 = A:), or -1.
int FindCdDrive(int first);

// Whether a volume event's drive bits (bit 0 = A:) name the player's drive:
// the drive itself when one is chosen, any CD-ROM drive for the default
// device (-1).
bool UnitsNameCdDrive(DWORD unitMask, int drive);

// The drive menu's text: "&E:  (LABEL)", or "&E:" when no label can be read.
// An "&" in the label is doubled so that the menu shows it.
void FormatDriveText(int drive, char* text, size_t capacity);
