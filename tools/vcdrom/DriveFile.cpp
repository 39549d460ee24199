#include "DriveFile.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && IsBlank(s[a]))
        a++;
    while (b > a && (IsBlank(s[b - 1]) || s[b - 1] == '\r'))
        b--;
    return s.substr(a, b - a);
}

bool SameName(const std::string& a, const char* b)
{
    return _stricmp(a.c_str(), b) == 0;
}

// "[Name]" gives Name; anything else is not a section header.
bool SectionName(const std::string& line, std::string& name)
{
    std::string t = Trim(line);
    if (t.size() < 2 || t[0] != '[')
        return false;
    size_t close = t.find(']');
    if (close == std::string::npos)
        return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool KeyName(const std::string& line, std::string& name, std::string& value)
{
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[')
        return false;
    size_t eq = t.find('=');
    if (eq == std::string::npos)
        return false;
    name = Trim(t.substr(0, eq));
    value = t.substr(eq + 1);
    return true;
}

// Drops a comment that starts with ';' after a blank, then the blanks.
std::string StripComment(const std::string& value)
{
    for (size_t i = 0; i < value.size(); i++) {
        if (value[i] == ';' && (i == 0 || IsBlank(value[i - 1])))
            return Trim(value.substr(0, i));
    }
    return Trim(value);
}

} // namespace

bool DriveFile::Load(const std::string& path)
{
    text.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char chunk[4096];
    DWORD got = 0;
    bool ok = true;
    for (;;) {
        if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        text.append(chunk, got);
    }
    CloseHandle(file);
    if (!ok)
        text.clear();
    return ok;
}

bool DriveFile::Save(const std::string& path) const
{
    char temp[MAX_PATH + 32];
    snprintf(temp, sizeof temp, "%s.%lu.tmp", path.c_str(), GetCurrentProcessId());
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL wrote = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    if (!wrote || written != text.size()) {
        DeleteFileA(temp);
        return false;
    }
    // A reader holding the old file open can make the rename fail for a moment.
    for (int attempt = 0; attempt < 100; attempt++) {
        if (MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        Sleep(5);
    }
    DeleteFileA(temp);
    return false;
}

bool DriveFile::NextLine(size_t from, Line& line) const
{
    if (from >= text.size())
        return false;
    size_t end = text.find('\n', from);
    line.start = from;
    if (end == std::string::npos) {
        line.end = text.size();
        line.next = text.size();
    } else {
        line.end = end;
        line.next = end + 1;
    }
    if (line.end > line.start && text[line.end - 1] == '\r')
        line.end--;
    return true;
}

bool DriveFile::FindSection(const char* section, size_t& bodyStart) const
{
    Line line;
    for (size_t at = 0; NextLine(at, line); at = line.next) {
        std::string name;
        if (SectionName(text.substr(line.start, line.end - line.start), name) && SameName(name, section)) {
            bodyStart = line.next;
            return true;
        }
    }
    return false;
}

bool DriveFile::FindKey(size_t bodyStart, const char* key, Line& found, size_t& sectionEnd) const
{
    Line line;
    sectionEnd = bodyStart;
    for (size_t at = bodyStart; NextLine(at, line); at = line.next) {
        std::string content = text.substr(line.start, line.end - line.start);
        std::string name, value;
        if (SectionName(content, name))
            return false;
        if (KeyName(content, name, value)) {
            sectionEnd = line.next;
            if (SameName(name, key)) {
                found = line;
                return true;
            }
        }
    }
    return false;
}

bool DriveFile::HasSection(const char* section) const
{
    size_t body;
    return FindSection(section, body);
}

std::string DriveFile::Get(const char* section, const char* key, const char* fallback) const
{
    size_t body, sectionEnd;
    Line line;
    if (!FindSection(section, body) || !FindKey(body, key, line, sectionEnd))
        return fallback;
    std::string name, value;
    KeyName(text.substr(line.start, line.end - line.start), name, value);
    return StripComment(value);
}

int DriveFile::GetInt(const char* section, const char* key, int fallback) const
{
    std::string value = Get(section, key);
    if (value.empty())
        return fallback;
    return atoi(value.c_str());
}

void DriveFile::Set(const char* section, const char* key, const std::string& value)
{
    std::string entry = std::string(key) + "=" + value;
    size_t body, sectionEnd;
    Line line;
    if (!FindSection(section, body)) {
        if (!text.empty() && text[text.size() - 1] != '\n')
            text += "\r\n";
        text += std::string("[") + section + "]\r\n" + entry + "\r\n";
        return;
    }
    if (FindKey(body, key, line, sectionEnd)) {
        text.replace(line.start, line.end - line.start, entry);
        return;
    }
    if (sectionEnd > 0 && sectionEnd == text.size() && text[sectionEnd - 1] != '\n') {
        text += "\r\n";
        sectionEnd = text.size();
    }
    text.insert(sectionEnd, entry + "\r\n");
}
