#include "ScriptEscape.h"

#include <windows.h>

namespace {

bool IsLeadByte(unsigned char c)
{
    return IsDBCSLeadByteEx(932, c) != FALSE;
}

bool IsTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

}  // namespace

// Disc and track names come from a file that other programs and online disc
// databases fill, and the mascot reads them as script: a backslash starts a
// command (one closes the mascot, another starts a program), "%" a variable,
// and a line break would end the Script header. The second byte of a
// double-byte character ("ソ" and "表" end in 0x5C) belongs to the character;
// a lead byte without a proper second byte is no character and is dropped,
// so that it cannot swallow the escape of the byte after it.
void EscapeScriptText(const char* text, char* escaped, size_t capacity)
{
    if (capacity == 0)
        return;
    size_t out = 0;
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
    while (*in != '\0') {
        unsigned char c = *in++;
        if (IsLeadByte(c)) {
            if (!IsTrailByte(*in))
                continue;
            if (out + 2 >= capacity)
                break;
            escaped[out++] = static_cast<char>(c);
            escaped[out++] = static_cast<char>(*in++);
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        bool needsEscape = c == '\\' || c == '%';
        if (out + (needsEscape ? 2 : 1) >= capacity)
            break;
        if (needsEscape)
            escaped[out++] = '\\';
        escaped[out++] = static_cast<char>(c);
    }
    escaped[out] = '\0';
}
