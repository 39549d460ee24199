#include "ProfileFile.h"

#include "Text.h"

#include <string.h>

ProfileFile::ProfileFile(LPCSTR filePath) : path()
{
    CopyText(path, sizeof path, filePath);
}

ProfileFile::~ProfileFile()
{
    ProfileFile::Release();
}

void ProfileFile::Release() {}

void ProfileFile::SetPath(LPCSTR filePath)
{
    CopyText(path, sizeof path, filePath);
}

UINT ProfileFile::GetInt(LPCSTR section, LPCSTR key, int defaultValue) const
{
    return GetPrivateProfileIntA(section, key, defaultValue, path);
}

DWORD ProfileFile::GetString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                             DWORD bufferSize) const
{
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, bufferSize, path);
}

namespace {

bool IsBlank(unsigned char c)
{
    return c <= 0x20;
}

// Reading a value drops the blanks around it and one pair of quotes that
// both opens and closes it (a full-width space counts as a blank on some
// systems). Such a value is written inside one more pair of double quotes,
// which the reading takes off again.
bool ReadingChanges(const char* value)
{
    size_t length = strlen(value);
    if (length == 0)
        return false;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(value);
    unsigned char first = bytes[0];
    unsigned char last = bytes[length - 1];
    bool fullWidthSpace = (first == 0x81 && bytes[1] == 0x40) || (length >= 2 && bytes[length - 2] == 0x81 && last == 0x40);
    return IsBlank(first) || IsBlank(last) || fullWidthSpace ||
           (length >= 2 && (first == '"' || first == '\'') && last == first);
}

}  // namespace

// Every value reads back as it was given.
BOOL ProfileFile::WriteString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    if (!value || !ReadingChanges(value))
        return WritePrivateProfileStringA(section, key, value, path);
    size_t length = strlen(value);
    char* quoted = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, length + 3));
    if (!quoted)
        return FALSE;
    quoted[0] = '"';
    memcpy(quoted + 1, value, length);
    quoted[length + 1] = '"';
    quoted[length + 2] = '\0';
    BOOL written = WritePrivateProfileStringA(section, key, quoted, path);
    HeapFree(GetProcessHeap(), 0, quoted);
    return written;
}

BOOL ProfileFile::WriteInt(LPCSTR section, LPCSTR key, int value)
{
    char text[32];
    FormatText(text, sizeof text, "%d", value);
    return WriteString(section, key, text);
}
