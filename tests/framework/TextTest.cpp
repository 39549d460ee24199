#include "Text.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

namespace {

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
    memset(formatted, 'x', sizeof formatted);  // the formatter leaves an exact fit unterminated
    EXPECT_EQ(5u, FormatText(formatted, sizeof formatted, "%d", 12345)) << "an exact fit is whole";
    EXPECT_STREQ("12345", formatted);
    EXPECT_EQ(3u, FormatText(formatted, 5, "a%s", "表示"));
    EXPECT_STREQ("a表", formatted);
}

}  // namespace
