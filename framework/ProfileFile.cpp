#include "ProfileFile.h"

#include "Text.h"

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

BOOL ProfileFile::WriteString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    return WritePrivateProfileStringA(section, key, value, path);
}

BOOL ProfileFile::WriteInt(LPCSTR section, LPCSTR key, int value)
{
    char text[32];
    FormatText(text, sizeof text, "%d", value);
    return WriteString(section, key, text);
}
