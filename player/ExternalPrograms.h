#pragma once

#include <windows.h>
#include <stddef.h>

// The programs that the player starts: its configuration program, and the
// operating system's volume control and multimedia properties.

extern const char ConfigProgramName[];           // "vlkcfg.exe"
extern const char VolumeControlError[];          // shown when no volume control starts
extern const char MultimediaPropertiesError[];   // shown when the applet does not start

// The configuration program lies beside the player: the folder of
// modulePath followed by "vlkcfg.exe".
void BuildConfigProgramPath(const char* modulePath, char* path, size_t capacity);

// "設定プログラム\n<path>\nを起動できません。": the path on a line of its own.
void FormatConfigProgramError(const char* path, char* text, size_t capacity);

// Starts the program at path without a command line and waits for its end.
// False when it could not be started.
bool RunAndWait(const char* path);

// The full path of name on the system's search path. False when not found.
bool FindOnSearchPath(const char* name, char* path, size_t capacity);

// "sndvol32.exe", or on systems that have no such program, "sndvol.exe".
bool FindVolumeControl(char* path, size_t capacity);

// Open the volume control, or "control.exe" with "mmsys.cpl". False when it
// is not found or cannot be started.
bool StartVolumeControl(HWND owner);
bool StartMultimediaProperties(HWND owner);
