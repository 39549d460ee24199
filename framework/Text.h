#pragma once

#include <windows.h>
#include <stddef.h>

// Bounded text helpers for the fixed-size Shift_JIS buffers used everywhere.
// Every function terminates the destination and never cuts a double-byte
// character in half.

// Copies src into dest (capacity bytes including the terminator). Returns the
// number of bytes copied. A null src gives an empty text.
size_t CopyText(char* dest, size_t capacity, const char* src);

// Appends src to the text already in dest, within capacity.
size_t AppendText(char* dest, size_t capacity, const char* src);

// Appends src with every "&" doubled, so that a menu item shows a text from
// outside as written instead of taking the character after an "&" for its
// mnemonic. Cut like AppendText, and never between the two of a pair.
size_t AppendMenuText(char* dest, size_t capacity, const char* src);

// printf-style formatting into dest, cut to fit. Returns the length written.
size_t FormatText(char* dest, size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Length of the longest prefix of text, at most maxBytes long, that does not
// end inside a double-byte character.
size_t SafePrefixLength(const char* text, size_t maxBytes);

// Index just past the last backslash of a path, or 0 when it has none. The
// second byte of a double-byte character is never taken for a backslash.
size_t DirectoryPartLength(const char* path);

// Sets dest to the folder of path (with its backslash) followed by fileName.
size_t ReplaceFileName(char* dest, size_t capacity, const char* path, const char* fileName);
