#include "ShiftJisText.h"

#include "Text.h"

namespace {

const unsigned long Invalid = 0xFFFFFFFFul;
const int ChunkCharacters = 256;

// One character of a UTF-8 sequence at text[0..length): its code point, or
// Invalid for a byte that starts nothing valid. used gets the bytes taken:
// the whole sequence, or the maximal invalid part of it.
unsigned long DecodeUtf8(const unsigned char* text, size_t length, size_t* used)
{
    unsigned char lead = text[0];
    *used = 1;
    if (lead < 0x80)
        return lead;
    int extra;
    unsigned long codePoint;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing beyond U+10FFFF
    } else {
        return Invalid;
    }
    for (int i = 1; i <= extra; ++i) {
        if (static_cast<size_t>(i) >= length || text[i] < low || text[i] > high)
            return Invalid;
        codePoint = codePoint << 6 | (text[i] & 0x3F);
        *used = i + 1;
        low = 0x80;
        high = 0xBF;
    }
    return codePoint;
}

// Where Japanese text from other systems uses the JIS forms of a few signs,
// Windows' Shift_JIS has them under other code points.
unsigned long ToWindowsForm(unsigned long codePoint)
{
    switch (codePoint) {
    case 0x301C: return 0xFF5E;  // wave dash
    case 0x2016: return 0x2225;  // double vertical line
    case 0x2212: return 0xFF0D;  // minus sign
    case 0x00A2: return 0xFFE0;  // cent sign
    case 0x00A3: return 0xFFE1;  // pound sign
    case 0x00AC: return 0xFFE2;  // not sign
    case 0x2014: return 0x2015;  // em dash
    }
    return codePoint;
}

// The UTF-16 unit that stands for the code point; 0 for one that is left out.
WCHAR ToUnit(unsigned long codePoint)
{
    if (codePoint == Invalid || codePoint > 0xFFFF)
        return L'?';  // no character beyond the BMP has a Shift_JIS form
    if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F))
        return L' ';
    if (codePoint == 0xFEFF)
        return 0;  // a byte-order mark is no character
    return static_cast<WCHAR>(ToWindowsForm(codePoint));
}

// Shift_JIS for the units, with "?" for those that have no exact form.
// Every unit gives one or two bytes, so bytes needs twice their count.
int ToShiftJis(const WCHAR* units, int count, char* bytes, int capacity)
{
    if (count == 0)
        return 0;
    int written = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, units, count, bytes, capacity, "?", nullptr);
    return written > 0 ? written : 0;
}

}  // namespace

size_t ConvertUtf8ToShiftJis(const char* utf8, size_t length, char* text, size_t capacity)
{
    if (capacity == 0)
        return 0;
    text[0] = '\0';
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(utf8);
    size_t used = 0;
    size_t at = 0;
    while (at < length && used + 1 < capacity) {
        WCHAR units[ChunkCharacters];
        int count = 0;
        while (at < length && count < ChunkCharacters) {
            size_t taken = 1;
            WCHAR unit = ToUnit(DecodeUtf8(bytes + at, length - at, &taken));
            at += taken;
            if (unit != 0)
                units[count++] = unit;
        }
        char chunk[ChunkCharacters * 2 + 1];
        int n = ToShiftJis(units, count, chunk, ChunkCharacters * 2);
        chunk[n] = '\0';
        size_t before = used;
        used = AppendText(text, capacity, chunk);
        if (used - before < static_cast<size_t>(n))
            break;  // full: a later character must not follow a left-out one
    }
    return used;
}
