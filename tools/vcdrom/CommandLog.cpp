#include "CommandLog.h"

#include "DriveBay.h"

#include <stdio.h>
#include <string.h>

CommandLog::CommandLog(char letter, const char* command, DWORD flags)
{
    line[0] = '\0';
    char head[96];
    snprintf(head, sizeof head, "%lu %c %s flags=0x%lX", GetCurrentProcessId(), letter ? letter : '-', command,
             flags);
    Append(head);
}

void CommandLog::Append(const char* text)
{
    size_t room = sizeof line - 1 - length;
    size_t n = strlen(text);
    if (n > room)
        n = room;
    memcpy(line + length, text, n);
    length += n;
    line[length] = '\0';
}

void CommandLog::Add(const char* name, const char* value)
{
    Append(" ");
    Append(name);
    Append("=");
    Append(value);
}

void CommandLog::AddHex(const char* name, DWORD value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%08lX", value);
    Add(name, text);
}

void CommandLog::AddNumber(const char* name, DWORD value)
{
    char text[16];
    snprintf(text, sizeof text, "%lu", value);
    Add(name, text);
}

void CommandLog::AddWord(const char* word)
{
    Append(" ");
    Append(word);
}

void CommandLog::Finish(DWORD result)
{
    char tail[24];
    snprintf(tail, sizeof tail, " -> %lu\r\n", result);
    // The end of the line always fits: cut the parameters instead.
    size_t tailLength = strlen(tail);
    if (length + tailLength > sizeof line - 1)
        length = sizeof line - 1 - tailLength;
    line[length] = '\0';
    Append(tail);

    std::string path = DriveBay::LogPath();
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    OVERLAPPED atEnd = {};
    atEnd.Offset = 0xFFFFFFFF;
    atEnd.OffsetHigh = 0xFFFFFFFF;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, &atEnd);
    CloseHandle(file);
}
