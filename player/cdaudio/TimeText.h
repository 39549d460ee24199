#pragma once

#include <windows.h>
#include <stddef.h>

class CdAudioDevice;

// Play-time texts: "3:05", "1:15:30".
void FormatMinSec(int minutes, int seconds, char* text, size_t capacity);
void FormatMsf(DWORD msf, char* text, size_t capacity);
// Elapsed time and length of the current track: "1:04／3:27".
void FormatTrackTime(CdAudioDevice& device, char* text, size_t capacity);
