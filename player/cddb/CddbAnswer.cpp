#include "CddbAnswer.h"

#include "ShiftJisText.h"
#include "Text.h"

#include <string.h>

namespace {

// A line of the answer: its bytes without the line break, NULs included.
struct Line {
    const char* bytes;
    size_t length;

    bool Is(const char* text) const { return length == strlen(text) && memcmp(bytes, text, length) == 0; }
    bool StartsWith(const char* text) const
    {
        size_t n = strlen(text);
        return length >= n && memcmp(bytes, text, n) == 0;
    }
};

class LineReader {
public:
    LineReader(const char* answer, size_t length) : at(answer), end(answer + length) {}

    bool Next(Line& line)
    {
        if (at >= end)
            return false;
        const char* lineEnd = static_cast<const char*>(memchr(at, '\n', static_cast<size_t>(end - at)));
        const char* next = lineEnd ? lineEnd + 1 : end;
        if (!lineEnd)
            lineEnd = end;
        if (lineEnd > at && lineEnd[-1] == '\r')
            --lineEnd;
        line.bytes = at;
        line.length = static_cast<size_t>(lineEnd - at);
        at = next;
        return true;
    }

private:
    const char* at;
    const char* end;
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The three-digit code that opens an answer, followed by a space or nothing;
// -1 for any other first line.
int StatusCode(const Line& line)
{
    if (line.length < 3 || !IsDigit(line.bytes[0]) || !IsDigit(line.bytes[1]) || !IsDigit(line.bytes[2]))
        return -1;
    if (line.length > 3 && line.bytes[3] != ' ')
        return -1;
    return (line.bytes[0] - '0') * 100 + (line.bytes[1] - '0') * 10 + (line.bytes[2] - '0');
}

// Takes the next word (up to a space) from line; false when there is none.
bool TakeWord(Line& line, Line& word)
{
    const char* space = static_cast<const char*>(memchr(line.bytes, ' ', line.length));
    size_t n = space ? static_cast<size_t>(space - line.bytes) : line.length;
    if (n == 0)
        return false;
    word.bytes = line.bytes;
    word.length = n;
    line.bytes += space ? n + 1 : n;
    line.length -= space ? n + 1 : n;
    return true;
}

// A category goes back to the server in the read command: a plain word.
bool CopyCategory(const Line& word, char* category, size_t capacity)
{
    if (word.length >= capacity)
        return false;
    for (size_t i = 0; i < word.length; ++i) {
        char c = word.bytes[i];
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '-' || c == '_';
        if (!plain)
            return false;
        category[i] = c;
    }
    category[word.length] = '\0';
    return true;
}

bool CopyDiscId(const Line& word, char* discId)
{
    if (word.length != 8)
        return false;
    for (size_t i = 0; i < 8; ++i) {
        char c = word.bytes[i];
        if (c >= 'A' && c <= 'F')
            c = static_cast<char>(c - 'A' + 'a');
        if (!IsDigit(c) && !(c >= 'a' && c <= 'f'))
            return false;
        discId[i] = c;
    }
    discId[8] = '\0';
    return true;
}

// "category discid Artist / Title"
bool ParseMatch(Line line, bool exact, CddbMatch& match)
{
    Line category;
    Line discId;
    if (!TakeWord(line, category) || !TakeWord(line, discId))
        return false;
    if (!CopyCategory(category, match.category, sizeof match.category) || !CopyDiscId(discId, match.discId))
        return false;
    match.exact = exact;
    ConvertUtf8ToShiftJis(line.bytes, line.length, match.title, sizeof match.title);
    return true;
}

void AddMatch(const Line& line, bool exact, CddbMatches& matches)
{
    if (matches.count < CddbMatches::Max && ParseMatch(line, exact, matches.items[matches.count]))
        ++matches.count;
}

}  // namespace

CddbQueryResult ParseCddbQuery(const char* answer, size_t length, CddbMatches& matches)
{
    matches.count = 0;
    LineReader reader(answer, length);
    Line line;
    if (!reader.Next(line))
        return CddbQueryFailed;
    int code = StatusCode(line);
    if (code == 202)
        return CddbQueryNoMatch;
    if (code == 200) {
        size_t code = line.length > 4 ? 4 : line.length;
        line.bytes += code;
        line.length -= code;
        AddMatch(line, true, matches);
        return matches.count > 0 ? CddbQueryMatched : CddbQueryFailed;
    }
    if (code != 210 && code != 211)
        return CddbQueryFailed;
    while (reader.Next(line)) {
        if (line.Is("."))
            return matches.count > 0 ? CddbQueryMatched : CddbQueryFailed;
        AddMatch(line, code == 210, matches);
    }
    matches.count = 0;  // a list without its end is cut short: trust none of it
    return CddbQueryFailed;
}

namespace {

// The raw UTF-8 of one xmcd value, its lines joined. Longer values are cut:
// the titles keep at most DiscTitles::TextCapacity bytes anyway.
struct RawValue {
    static const size_t Capacity = 4 * DiscTitles::TextCapacity;
    size_t length;
    char bytes[Capacity];

    void Append(const char* more, size_t n)
    {
        if (n > Capacity - length)
            n = Capacity - length;
        memcpy(bytes + length, more, n);
        length += n;
    }
};

struct RawEntry {
    bool hasTitle;
    RawValue title;
    RawValue tracks[DiscTitles::MaxTracks];
};

// "TTITLE<n>" with n written plainly (no sign, no leading zero); -1 otherwise.
int TrackIndex(const Line& key)
{
    const size_t prefix = 6;
    if (key.length <= prefix || key.length > prefix + 2 || memcmp(key.bytes, "TTITLE", prefix) != 0)
        return -1;
    int index = 0;
    for (size_t i = prefix; i < key.length; ++i) {
        if (!IsDigit(key.bytes[i]))
            return -1;
        index = index * 10 + (key.bytes[i] - '0');
    }
    if (key.bytes[prefix] == '0' && key.length > prefix + 1)
        return -1;
    return index;
}

void AddEntryLine(const Line& line, int trackCount, RawEntry& entry)
{
    if (line.length == 0 || line.bytes[0] == '#')
        return;
    const char* equals = static_cast<const char*>(memchr(line.bytes, '=', line.length));
    if (!equals)
        return;
    Line key = {line.bytes, static_cast<size_t>(equals - line.bytes)};
    const char* value = equals + 1;
    size_t valueLength = line.length - key.length - 1;
    if (key.Is("DTITLE")) {
        entry.hasTitle = true;
        entry.title.Append(value, valueLength);
        return;
    }
    int index = TrackIndex(key);
    if (index >= 0 && index < trackCount)
        entry.tracks[index].Append(value, valueLength);
}

// "\n", "\t" and "\\" stand for a line break, a tab and a backslash; both
// breaks end up as spaces, since a title is one line.
size_t Unescape(char* bytes, size_t length)
{
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        char c = bytes[i];
        if (c == '\\' && i + 1 < length) {
            char next = bytes[i + 1];
            if (next == 'n' || next == 't' || next == '\\') {
                c = next == '\\' ? '\\' : ' ';
                ++i;
            }
        }
        bytes[out++] = c;
    }
    return out;
}

void Trim(char* text)
{
    size_t start = 0;
    while (text[start] == ' ')
        ++start;
    size_t end = strlen(text);
    while (end > start && text[end - 1] == ' ')
        --end;
    memmove(text, text + start, end - start);
    text[end - start] = '\0';
}

void ToShiftJis(const char* utf8, size_t length, char* text, size_t capacity)
{
    ConvertUtf8ToShiftJis(utf8, length, text, capacity);
    Trim(text);
}

// "Artist / Title"; without the separator the whole is both, as xmcd has it.
void SplitDiscTitle(RawValue& raw, DiscTitles& titles)
{
    size_t length = Unescape(raw.bytes, raw.length);
    for (size_t i = 0; i + 3 <= length; ++i) {
        if (memcmp(raw.bytes + i, " / ", 3) == 0) {
            ToShiftJis(raw.bytes, i, titles.artist, sizeof titles.artist);
            ToShiftJis(raw.bytes + i + 3, length - i - 3, titles.title, sizeof titles.title);
            return;
        }
    }
    ToShiftJis(raw.bytes, length, titles.title, sizeof titles.title);
    CopyText(titles.artist, sizeof titles.artist, titles.title);
}

bool ReadEntry(LineReader& reader, int trackCount, RawEntry& entry)
{
    Line line;
    while (reader.Next(line)) {
        if (line.Is("."))
            return entry.hasTitle;
        AddEntryLine(line, trackCount, entry);
    }
    return false;  // no end: the entry may be cut anywhere
}

}  // namespace

bool ParseCddbRead(const char* answer, size_t length, int trackCount, DiscTitles& titles)
{
    titles.title[0] = '\0';
    titles.artist[0] = '\0';
    titles.trackCount = 0;
    if (trackCount < 0 || trackCount > DiscTitles::MaxTracks)
        return false;
    LineReader reader(answer, length);
    Line line;
    if (!reader.Next(line) || StatusCode(line) != 210)
        return false;
    RawEntry* entry = static_cast<RawEntry*>(HeapAlloc(GetProcessHeap(), 0, sizeof(RawEntry)));
    if (!entry)
        return false;
    entry->hasTitle = false;
    entry->title.length = 0;
    for (RawValue& track : entry->tracks)
        track.length = 0;
    bool complete = ReadEntry(reader, trackCount, *entry);
    if (complete) {
        SplitDiscTitle(entry->title, titles);
        for (int i = 0; i < trackCount; ++i) {
            RawValue& raw = entry->tracks[i];
            ToShiftJis(raw.bytes, Unescape(raw.bytes, raw.length), titles.tracks[i], sizeof titles.tracks[i]);
        }
        titles.trackCount = trackCount;
        complete = titles.title[0] != '\0';
    }
    HeapFree(GetProcessHeap(), 0, entry);
    return complete;
}
