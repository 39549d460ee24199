#include "Text.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

static bool IsLeadByte(char c)
{
    return IsDBCSLeadByteEx(932, static_cast<BYTE>(c)) != FALSE;
}

size_t SafePrefixLength(const char* text, size_t maxBytes)
{
    size_t i = 0;
    while (text[i] != '\0') {
        size_t step = IsLeadByte(text[i]) ? 2 : 1;
        if (step == 2 && text[i + 1] == '\0')
            break;  // a lead byte without its second byte is not a character
        if (i + step > maxBytes)
            break;
        i += step;
    }
    return i;
}

size_t CopyText(char* dest, size_t capacity, const char* src)
{
    if (capacity == 0)
        return 0;
    size_t n = src ? SafePrefixLength(src, capacity - 1) : 0;
    if (n > 0)
        memmove(dest, src, n);
    dest[n] = '\0';
    return n;
}

size_t AppendText(char* dest, size_t capacity, const char* src)
{
    size_t used = strnlen(dest, capacity);
    if (used >= capacity)
        return 0;
    return used + CopyText(dest + used, capacity - used, src);
}

size_t AppendMenuText(char* dest, size_t capacity, const char* src)
{
    size_t used = strnlen(dest, capacity);
    if (used >= capacity)
        return 0;
    for (size_t i = 0; src && src[i] != '\0';) {
        size_t step = IsLeadByte(src[i]) && src[i + 1] != '\0' ? 2 : 1;
        if (step == 1 && IsLeadByte(src[i]))
            break;  // a lead byte at the very end is no character
        bool ampersand = src[i] == '&';
        size_t length = ampersand ? 2 : step;
        if (used + length > capacity - 1)
            break;
        if (ampersand)
            dest[used] = dest[used + 1] = '&';
        else
            memcpy(dest + used, src + i, step);
        used += length;
        i += step;
    }
    dest[used] = '\0';
    return used;
}

size_t FormatText(char* dest, size_t capacity, const char* format, ...)
{
    if (capacity == 0)
        return 0;
    // The system's formatter: MinGW's own C99 one would add 20 KiB of
    // floating-point conversions that no text here uses. It answers -1 when
    // the text does not fit, and then leaves it unterminated.
    va_list args;
    va_start(args, format);
    int n = _vsnprintf(dest, capacity - 1, format, args);
    va_end(args);
    dest[capacity - 1] = '\0';
    if (n >= 0)
        return static_cast<size_t>(n);
    size_t safe = SafePrefixLength(dest, capacity - 1);
    dest[safe] = '\0';
    return safe;
}

size_t DirectoryPartLength(const char* path)
{
    size_t end = 0;
    for (size_t i = 0; path[i] != '\0';) {
        if (IsLeadByte(path[i]) && path[i + 1] != '\0') {
            i += 2;
            continue;
        }
        if (path[i] == '\\')
            end = i + 1;
        ++i;
    }
    return end;
}

size_t ReplaceFileName(char* dest, size_t capacity, const char* path, const char* fileName)
{
    if (capacity == 0)
        return 0;
    size_t dir = DirectoryPartLength(path);
    char folder[MAX_PATH];
    CopyText(folder, dir + 1 < sizeof folder ? dir + 1 : sizeof folder, path);
    CopyText(dest, capacity, folder);
    return AppendText(dest, capacity, fileName);
}
