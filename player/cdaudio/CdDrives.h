#pragma once

#include <stddef.h>

// The first CD-ROM drive at or after index first (0 = A:), or -1.
int FindCdDrive(int first);

// The drive menu's text: "&E:  (LABEL)", or "&E:" when no label can be read.
// An "&" in the label is doubled so that the menu shows it.
void FormatDriveText(int drive, char* text, size_t capacity);
