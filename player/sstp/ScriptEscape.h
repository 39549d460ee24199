#pragma once

#include <stddef.h>

// Makes a name safe to put into an SSTP script: backslash becomes "\\" and
// "%" becomes "\%", CR and LF are dropped. Shift_JIS aware; never cuts an
// escape or a double-byte character when the capacity runs out.
void EscapeScriptText(const char* text, char* escaped, size_t capacity);
