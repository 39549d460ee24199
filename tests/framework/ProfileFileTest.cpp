#include "ProfileFile.h"
#include "TestSupport.h"
#include "Text.h"

#include <gtest/gtest.h>

namespace {

TEST(ProfileFileTest, ReadsDefaultsAndValues)
{
    TempFolder folder;
    std::string path = folder.File("test.ini");
    WriteWholeFile(path, "[Sec]\r\nnumber=12\r\nhost=localhost\r\n");
    ProfileFile file(path.c_str());

    EXPECT_EQ(12u, file.GetInt("Sec", "number", 7));
    EXPECT_EQ(7u, file.GetInt("Sec", "absent", 7));
    char small[4];
    EXPECT_EQ(3u, file.GetString("Sec", "host", "", small, sizeof small));
    EXPECT_STREQ("loc", small);
    char text[32];
    file.GetString("Sec", "absent", "fallback", text, sizeof text);
    EXPECT_STREQ("fallback", text);

    ProfileFile missing(folder.File("missing.ini").c_str());
    EXPECT_EQ(5u, missing.GetInt("Sec", "number", 5));
}

TEST(ProfileFileTest, WritesCreateTheFileAndNumbersAreSignedDecimal)
{
    TempFolder folder;
    std::string path = folder.File("new.ini");
    ProfileFile file;
    file.SetPath(path.c_str());
    EXPECT_TRUE(file.WriteInt("General", "Drive", -5));
    EXPECT_TRUE(file.WriteInt("SSTP", "SstpPort", 9801));
    std::string bytes = ReadWholeFile(path);
    EXPECT_NE(std::string::npos, bytes.find("[General]"));
    EXPECT_NE(std::string::npos, bytes.find("Drive=-5"));
    EXPECT_NE(std::string::npos, bytes.find("SstpPort=9801"));
    EXPECT_EQ(static_cast<UINT>(-5), file.GetInt("General", "Drive", 0));
}

TEST(ProfileFileTest, PathIsCutTo259Characters)
{
    std::string longPath(400, 'p');
    ProfileFile file(longPath.c_str());
    EXPECT_EQ(259u, strlen(file.path));
    ProfileFile none(nullptr);
    EXPECT_STREQ("", none.path);
}

TEST(TextTest, ShiftJisLiteralsAndBoundedCopies)
{
    // The second byte of "表" is a backslash.
    const char* shown = "表示";
    ASSERT_EQ(4u, strlen(shown));
    EXPECT_EQ(0x95, static_cast<unsigned char>(shown[0]));
    EXPECT_EQ(0x5C, static_cast<unsigned char>(shown[1]));
    EXPECT_EQ(0x8E, static_cast<unsigned char>(shown[2]));
    EXPECT_EQ(0xA6, static_cast<unsigned char>(shown[3]));

    char buffer[4];
    EXPECT_EQ(2u, CopyText(buffer, sizeof buffer, "表示"));  // never half a character
    EXPECT_STREQ("表", buffer);
    EXPECT_EQ(3u, CopyText(buffer, sizeof buffer, "localhost"));
    char formatted[6];
    FormatText(formatted, sizeof formatted, "%s%d", "ab", 12345);
    EXPECT_STREQ("ab123", formatted);

    EXPECT_EQ(strlen("C:\\表\\"), DirectoryPartLength("C:\\表\\velkin.exe"));
    EXPECT_EQ(3u, DirectoryPartLength("C:\\ソ"));  // the 0x5C inside "ソ" is no separator
    char path[MAX_PATH];
    ReplaceFileName(path, sizeof path, "C:\\表\\velkin.exe", "velkin.ini");
    EXPECT_STREQ("C:\\表\\velkin.ini", path);
}

}  // namespace
