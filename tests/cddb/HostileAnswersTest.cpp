#include "CddbAnswer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <random>
#include <string>

namespace {

// Shift_JIS as the player keeps it: terminated within its buffer, whole
// characters, no control characters.
::testing::AssertionResult IsCleanText(const char* text, size_t capacity)
{
    size_t length = strnlen(text, capacity);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    bool control = std::any_of(bytes, bytes + length, [](unsigned char b) { return b < 0x20 || b == 0x7F; });
    bool whole = length == 0 || MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, static_cast<int>(length), nullptr, 0) != 0;
    if (length < capacity && !control && whole)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << (length == capacity ? "not terminated" : control ? "a control byte" : "not Shift_JIS");
}

// Fills guards around the result, so a write beyond it shows.
template <typename T>
struct Guarded {
    unsigned char before[64];
    T value;
    unsigned char after[64];

    Guarded() { memset(static_cast<void*>(this), 0xA5, sizeof *this); }
    bool Intact() const
    {
        auto untouched = [](unsigned char b) { return b == 0xA5; };
        return std::all_of(before, std::end(before), untouched) && std::all_of(after, std::end(after), untouched);
    }
};

const char* const RealAnswers[] = {
    u8"200 rock 0f038403 ヴェルキン / 夜明けの回路\r\n",
    u8"210 Found exact matches, list follows (until terminating `.')\r\nrock 0f038403 A / B\r\n"
    u8"misc 0f038403 サウンド / トラック\r\n.\r\n",
    u8"211 Found inexact matches, list follows (until terminating `.')\r\nfolk 0f038403 X / Y\r\n.\r\n",
    u8"202 No match for disc ID 0f038403.\r\n",
    u8"210 rock 0f038403 CD database entry follows (until terminating `.')\r\n# xmcd\r\n#\r\n"
    u8"DISCID=0f038403\r\nDTITLE=ヴェルキン・アンサンブル / 夜明けの回路\r\nDYEAR=2001\r\n"
    u8"TTITLE0=はじまりの音\r\nTTITLE1=青い信号 \\n 二\r\nTTITLE1=行目\\\\\r\nTTITLE2=ソーダ水の表通り\\t\r\n"
    u8"EXTD=\r\nEXTT0=\r\nPLAYORDER=\r\n.\r\n",
};

const char* const Pieces[] = {
    "\x00", "\xFF", "\x80", "\xBF", "\xE3\x81", "\xF0\x9F\x98", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
    "\\", "\\n", "\\t", "\\\\", "=", "\r", "\n", "\n.\n", ".", " / ", "#", "\x81", "\x5C",
    "TTITLE-1=", "TTITLE99=", "TTITLE100=", "TTITLE4294967296=", "TTITLE007=", "TTITLE1e3=", "TTITLE=",
    "DTITLE=", "\nDTITLE=", "\nTTITLE0=", "\nro ck 0f038403 x", "\n.. 0f038403 y", "\n../x 0f038403 z",
    "\nrock 0F03840G w", "\nrock 0f038403\x00 v",
};

size_t Pick(std::mt19937& random, size_t n)
{
    return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random);
}

void Mutate(std::mt19937& random, std::string& answer)
{
    size_t at = Pick(random, answer.size() + 1);
    switch (Pick(random, 6)) {
    case 0:
        if (!answer.empty())
            answer[at % answer.size()] = static_cast<char>(Pick(random, 256));
        break;
    case 1: {
        const char* piece = Pieces[Pick(random, sizeof Pieces / sizeof Pieces[0])];
        answer.insert(at, piece, piece[0] ? strlen(piece) : 1);
        break;
    }
    case 2:
        answer.erase(at, Pick(random, 64));
        break;
    case 3:
        answer.resize(at);
        break;
    case 4: {  // a line many times over
        size_t start = answer.rfind('\n', at == 0 ? 0 : at - 1);
        start = start == std::string::npos ? 0 : start + 1;
        std::string line = answer.substr(start, answer.find('\n', start) + 1 - start), copies;
        for (size_t n = 1 + Pick(random, 3000); n > 0 && copies.size() < 400000; --n)
            copies += line;
        answer.insert(start, copies);
        break;
    }
    case 5:  // a long line without a break
        answer.insert(at, std::string(1 + Pick(random, 70000), static_cast<char>(Pick(random, 2) ? 'x' : '\xE3')));
        break;
    }
}

// Counts in matched the answers that gave matches.
void CheckQuery(const std::string& answer, int& matched)
{
    std::unique_ptr<Guarded<CddbMatches>> matches(new Guarded<CddbMatches>());
    CddbQueryResult result = ParseCddbQuery(answer.data(), answer.size(), matches->value);
    ASSERT_TRUE(matches->Intact());
    ASSERT_TRUE(matches->value.count >= 0 && matches->value.count <= CddbMatches::Max);
    ASSERT_EQ(result == CddbQueryMatched, matches->value.count > 0);
    for (int i = 0; i < matches->value.count; ++i) {
        const CddbMatch& match = matches->value.items[i];
        ASSERT_TRUE(IsCleanText(match.title, sizeof match.title));
        size_t category = strnlen(match.category, sizeof match.category);
        ASSERT_TRUE(category > 0 && category < sizeof match.category &&
                    category == strspn(match.category, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_"));
        ASSERT_EQ(8u, strnlen(match.discId, sizeof match.discId));
        ASSERT_EQ(8u, strspn(match.discId, "0123456789abcdef"));
    }
    matched += result == CddbQueryMatched;
}

// Counts in filled the answers that gave titles.
void CheckRead(const std::string& answer, int trackCount, int& filled)
{
    std::unique_ptr<Guarded<DiscTitles>> titles(new Guarded<DiscTitles>());
    bool read = ParseCddbRead(answer.data(), answer.size(), trackCount, titles->value);
    ASSERT_TRUE(titles->Intact());
    if (!read)
        return;
    ++filled;
    const DiscTitles& value = titles->value;
    ASSERT_EQ(trackCount, value.trackCount);
    ASSERT_TRUE(IsCleanText(value.title, sizeof value.title));
    ASSERT_NE('\0', value.title[0]);
    ASSERT_TRUE(IsCleanText(value.artist, sizeof value.artist));
    for (int i = 0; i < trackCount; ++i)
        ASSERT_TRUE(IsCleanText(value.tracks[i], sizeof value.tracks[i])) << "track " << i + 1;
    for (int i = trackCount; i < DiscTitles::MaxTracks; ++i)
        ASSERT_EQ('\xA5', value.tracks[i][0]) << "track " << i + 1 << " is beyond the disc";
}

// Mutations of real answers and the shapes a hostile server would try.
TEST(HostileAnswersTest, EveryResultIsTerminatedWholeAndWithinItsBuffers)
{
    const unsigned Seed = 12071;
    const int Count = 3000;
    std::mt19937 random(Seed);
    int matched = 0, filled = 0;
    DWORD start = GetTickCount();
    for (int i = 0; i < Count; ++i) {
        std::string answer = RealAnswers[Pick(random, sizeof RealAnswers / sizeof RealAnswers[0])];
        for (size_t n = 1 + Pick(random, 4); n > 0; --n)
            Mutate(random, answer);
        SCOPED_TRACE("answer " + std::to_string(i) + " of seed " + std::to_string(Seed));
        CheckQuery(answer, matched);
        CheckRead(answer, 1 + static_cast<int>(Pick(random, DiscTitles::MaxTracks)), filled);
        if (HasFatalFailure())
            return;
    }
    printf("%d hostile answers in %lu ms: %d gave matches, %d gave titles\n", Count, GetTickCount() - start, matched,
           filled);
    EXPECT_GT(matched, 0) << "the mutations left no answer usable: they test little";
    EXPECT_GT(filled, 0);
}

}  // namespace
