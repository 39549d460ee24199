#pragma once

#include <stddef.h>

// Converts UTF-8 bytes, as a disc database sends them, to Shift_JIS. The
// input is taken as hostile: NUL bytes, invalid or cut sequences and
// characters that Shift_JIS lacks each become "?", control characters a
// space. text is always terminated and holds whole characters only; what does
// not fit is left out. Returns the length of text.
size_t ConvertUtf8ToShiftJis(const char* utf8, size_t length, char* text, size_t capacity);
