#include "CddbAnswer.h"
#include "ShiftJisText.h"
#include "TableOfContents.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

TableOfContents MakeToc(std::initializer_list<long> lengths)
{
    TableOfContents toc = {};
    long start = 150;
    for (long length : lengths) {
        toc.trackStarts[toc.trackCount++] = start;
        start += length;
    }
    toc.leadOut = start;
    return toc;
}

long Frames(int minutes, int seconds, int frames = 0)
{
    return (minutes * 60L + seconds) * 75 + frames;
}

std::string Query(const TableOfContents& toc)
{
    char text[1024];
    FormatCddbQuery(toc, text, sizeof text);
    return text;
}

TEST(CddbDiscIdTest, QueryWordsOfWorkedExamples)
{
    EXPECT_EQ("cddb query 0f038403 3 150 22650 45150 902", Query(MakeToc({Frames(5, 0), Frames(5, 0), Frames(5, 0)})));
    // 99 tracks: the digit sums (990) wrap modulo 255 and every start fits.
    TableOfContents many = {};
    for (int i = 0; i < 99; ++i)
        many.trackStarts[many.trackCount++] = 150 + 300L * i;
    many.leadOut = 150 + 300L * 99;
    std::string words = Query(many);
    EXPECT_EQ("cddb query e1018c63 99 150 450 750 ", words.substr(0, 35));
    EXPECT_EQ(" 29250 29550 398", words.substr(words.size() - 16));
    EXPECT_EQ(0xe1018c63ul, CddbDiscId(many));

    TableOfContents backwards = MakeToc({Frames(1, 0), Frames(1, 0)});
    backwards.trackStarts[1] = 100;
    EXPECT_FALSE(IsPlausible(backwards));
    EXPECT_FALSE(IsPlausible(MakeToc({})));
}

std::string ShiftJis(const std::string& utf8, size_t capacity = 256)
{
    std::unique_ptr<char[]> text(new char[capacity]);
    ConvertUtf8ToShiftJis(utf8.data(), utf8.size(), text.get(), capacity);
    return text.get();
}

TEST(ShiftJisTextTest, EveryCharacterWholeAndThoseWithoutAFormAsQuestionMarks)
{
    EXPECT_EQ("夜明けの回路 ｱｲｳ ABC", ShiftJis(u8"夜明けの回路 ｱｲｳ ABC"));
    // No Shift_JIS form: accents, emoji (one mark for the whole character),
    // and the yen sign, which a best fit would turn into a backslash.
    const char noForm[] = "caf\xC3\xA9 \xF0\x9F\x98\x80 \xC2\xA5 x";  // "café 😀 ¥ x"
    EXPECT_EQ("caf? ? ? x", ShiftJis(noForm));
    // Invalid and cut sequences, overlong forms and encoded surrogates.
    const char invalid[] = "a\xFF" "b\xE3\x81" "c\xC0\xAF" "d\xED\xA0\x80";
    EXPECT_EQ("a?b?c??d???", ShiftJis(invalid));
    EXPECT_EQ("a b c", ShiftJis(std::string("a\0b\x1F" "c", 5)));
    // The JIS forms of the wave dash and the minus sign are Windows' full-width ones.
    const char jisForms[] = "\xE3\x80\x9C\xE2\x88\x92";  // U+301C, U+2212
    EXPECT_EQ("～－", ShiftJis(jisForms));
    // A full buffer ends before a character, never inside one, and nothing
    // follows a character that was left out.
    EXPECT_EQ("あい", ShiftJis(u8"あいうA", 6));
    EXPECT_EQ("", ShiftJis(u8"あ", 2));
}

CddbQueryResult ParseQuery(const std::string& answer, CddbMatches& matches)
{
    return ParseCddbQuery(answer.data(), answer.size(), matches);
}

TEST(CddbAnswerTest, QueryAnswersGiveTheirMatchesOrNone)
{
    CddbMatches matches;
    ASSERT_EQ(CddbQueryMatched, ParseQuery(u8"200 rock 0F038403 ヴェルキン / 夜明け\r\n", matches));
    ASSERT_EQ(1, matches.count);
    const CddbMatch& one = matches.items[0];
    EXPECT_EQ("rock 0f038403 ヴェルキン / 夜明け 1", std::string(one.category) + " " + one.discId + " " + one.title + " " +
                                                    std::to_string(one.exact));

    std::string several = "210 Found exact matches, list follows (until terminating `.')\n"
                          "misc 0f038403 A / B\nbad..cat 0f038403 C / D\nrock 0f03840 E / F\n"
                          "jazz 0f038403 G / H\n.\n";
    ASSERT_EQ(CddbQueryMatched, ParseQuery(several, matches));
    ASSERT_EQ(2, matches.count) << "a category or disc ID that is not a plain word is left out";
    EXPECT_STREQ("misc", matches.items[0].category);
    EXPECT_STREQ("G / H", matches.items[1].title);
    several[2] = '1';
    ASSERT_EQ(CddbQueryMatched, ParseQuery(several, matches));
    EXPECT_FALSE(matches.items[0].exact);
    EXPECT_EQ(CddbQueryFailed, ParseQuery(several.substr(0, several.size() - 2), matches)) << "no end";
    EXPECT_EQ(0, matches.count);

    EXPECT_EQ(CddbQueryNoMatch, ParseQuery("202 No match for disc ID 0f038403.\r\n", matches));
    for (const char* answer : {"", "200", "200 rock", "2000 rock 0f038403 A / B", "403 Database entry is corrupt",
                               "<html>200 rock 0f038403 A</html>"}) {
        EXPECT_NE(CddbQueryMatched, ParseQuery(answer, matches)) << answer;
        EXPECT_EQ(0, matches.count) << answer;
    }
}

const char ReadAnswer[] =
    u8"210 rock 0f038403 CD database entry follows (until terminating `.')\r\n"
    u8"# xmcd\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\r\n# Disc length: 902 seconds\r\n"
    u8"DISCID=0f038403\r\n"
    u8"DTITLE=ヴェルキン・アンサンブル / 夜明けの回路\r\n"
    u8"DYEAR=2001\r\nDGENRE=Rock\r\n"
    u8"TTITLE0=はじまりの音\r\n"
    u8"TTITLE1=青い\xE4\xBF\r\n"  // a line may end inside a character
    u8"TTITLE1=\xA1\xE5\x8F\xB7 and more\r\n"
    u8"TTITLE2=Tab\\there\\\\ \\n new line \r\n"
    u8"TTITLE3=beyond the disc\r\nTTITLE-1=negative\r\nTTITLE01=leading zero\r\n"
    u8"EXTD=\r\nEXTT0=\r\nPLAYORDER=\r\n.\r\n";

TEST(CddbAnswerTest, ReadAnswerFillsTheTitlesJoiningRepeatedKeys)
{
    std::unique_ptr<DiscTitles> titles(new DiscTitles());
    ASSERT_TRUE(ParseCddbRead(ReadAnswer, sizeof ReadAnswer - 1, 3, *titles));
    EXPECT_STREQ("ヴェルキン・アンサンブル", titles->artist);
    EXPECT_STREQ("夜明けの回路", titles->title);
    ASSERT_EQ(3, titles->trackCount);
    EXPECT_STREQ("はじまりの音", titles->tracks[0]);
    EXPECT_STREQ("青い信号 and more", titles->tracks[1]);
    EXPECT_STREQ("Tab here\\   new line", titles->tracks[2]);

    // Tracks 11 and up have keys of two digits.
    std::string noSeparator = u8"210 misc 0f038403\nDTITLE=Soundtrack/Score\nTTITLE0=\nTTITLE10=Ten\nTTITLE11=Eleven\n.\n";
    ASSERT_TRUE(ParseCddbRead(noSeparator.data(), noSeparator.size(), 12, *titles));
    EXPECT_STREQ("Soundtrack/Score", titles->title);
    EXPECT_STREQ("Soundtrack/Score", titles->artist);
    EXPECT_STREQ("", titles->tracks[0]);
    EXPECT_STREQ("", titles->tracks[1]);
    EXPECT_EQ("Ten|Eleven", std::string(titles->tracks[10]) + "|" + titles->tracks[11]);

    // A long name keeps whole characters up to the record's capacity.
    std::string longName = "210 misc 0f038403\nDTITLE=A / B\n";
    for (int i = 0; i < 20; ++i)
        longName += "TTITLE0=" + std::string(u8"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ") + "\n";
    longName += ".\n";
    ASSERT_TRUE(ParseCddbRead(longName.data(), longName.size(), 1, *titles));
    EXPECT_EQ(1022u, strlen(titles->tracks[0]));

    for (std::string bad : {std::string(ReadAnswer, sizeof ReadAnswer - 4), std::string("401 rock 0f038403 No such CD entry.\r\n"),
                            std::string("210 rock 0f038403\nTTITLE0=x\n.\n"), std::string("210 rock 0f038403\nDTITLE= / \n.\n")})
        EXPECT_FALSE(ParseCddbRead(bad.data(), bad.size(), 3, *titles)) << bad;
}

}  // namespace
