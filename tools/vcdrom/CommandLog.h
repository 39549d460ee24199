#pragma once

#include <windows.h>

// One line of the command log:
//   <pid> <drive letter> <COMMAND> flags=0x<HEX> [name=value ...] -> <error code>
// Several processes append to the same file, so each line goes out in one
// write at the end of the file.
class CommandLog {
public:
    CommandLog(char letter, const char* command, DWORD flags);
    void Add(const char* name, const char* value);
    void AddHex(const char* name, DWORD value);
    void AddNumber(const char* name, DWORD value);
    void AddWord(const char* word);
    // Appends the line with the result's error code.
    void Finish(DWORD result);

private:
    void Append(const char* text);

    char line[512];
    size_t length = 0;
};
