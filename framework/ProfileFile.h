#pragma once

#include <windows.h>

// One INI file, read and written value by value through the Win32
// private-profile functions; nothing is kept in memory.
class ProfileFile {
public:
    explicit ProfileFile(LPCSTR filePath = nullptr);
    virtual ~ProfileFile();
    virtual void Release();

    void SetPath(LPCSTR filePath);
    UINT GetInt(LPCSTR section, LPCSTR key, int defaultValue) const;
    DWORD GetString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD bufferSize) const;
    // Every write goes through WriteString; WriteInt formats and calls it. A
    // value with blanks or quotes around it is written so that it reads back
    // exactly as given.
    virtual BOOL WriteString(LPCSTR section, LPCSTR key, LPCSTR value);
    BOOL WriteInt(LPCSTR section, LPCSTR key, int value);

    char path[MAX_PATH];
};
