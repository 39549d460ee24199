#include "ProfileFile.h"
#include "TestSupport.h"
#include "Text.h"

#include <gtest/gtest.h>

namespace {

TEST(ProfileFileTest, AFirstWriteCreatesTheFileAndReadsGiveValuesOrDefaults)
{
    TempFolder folder;
    ProfileFile file(folder.File("new.ini").c_str());
    EXPECT_EQ(7u, file.GetInt("General", "Drive", 7)) << "no file yet";
    EXPECT_TRUE(file.WriteInt("General", "Drive", -5));
    EXPECT_TRUE(file.WriteInt("SSTP", "SstpPort", 9801));
    EXPECT_TRUE(file.WriteString("SSTP", "SstpServer", "localhost"));
    std::string bytes = ReadWholeFile(folder.File("new.ini"));
    for (const char* line : {"[General]\r\nDrive=-5\r\n", "[SSTP]\r\n", "SstpPort=9801\r\n", "SstpServer=localhost\r\n"})
        EXPECT_NE(std::string::npos, bytes.find(line)) << line << " in\n" << bytes;

    EXPECT_EQ(static_cast<UINT>(-5), file.GetInt("General", "Drive", 0));
    EXPECT_EQ(9801u, file.GetInt("SSTP", "SstpPort", 0));
    char small[4];
    EXPECT_EQ(3u, file.GetString("SSTP", "SstpServer", "", small, sizeof small));
    EXPECT_STREQ("loc", small);
}

TEST(TextTest, ShiftJisLiteralsAndBoundedCopiesThatNeverCutACharacter)
{
    // The second byte of "表" is a backslash.
    EXPECT_EQ(std::string("\x95\x5C\x8E\xA6"), "表示");

    char buffer[4];
    EXPECT_EQ(2u, CopyText(buffer, sizeof buffer, "表示"));
    EXPECT_STREQ("表", buffer);
    char formatted[6];
    FormatText(formatted, sizeof formatted, "%s%d", "ab", 12345);
    EXPECT_STREQ("ab123", formatted);
    EXPECT_EQ(5u, FormatText(formatted, sizeof formatted, "%d", 12345)) << "an exact fit is whole";
    EXPECT_STREQ("12345", formatted);
    EXPECT_EQ(3u, FormatText(formatted, 5, "a%s", "表示"));
    EXPECT_STREQ("a表", formatted);
}

}  // namespace
