#include "ExternalPrograms.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char DoubleName[] = "external_config_double.exe";

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && Lower(text.substr(text.size() - end.size())) == Lower(end);
}

// Runs with the current directory set to a folder, which the system's file
// search looks in.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& folder)
    {
        GetCurrentDirectoryA(sizeof old, old);
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentDirectory() { SetCurrentDirectoryA(old); }

private:
    char old[MAX_PATH];
};

TEST(ExternalProgramsTest, ConfigProgramLiesBesideThePlayerEvenInAJapaneseFolder)
{
    char path[MAX_PATH];
    BuildConfigProgramPath("C:\\Program Files\\Velkin\\velkin.exe", path, sizeof path);
    EXPECT_STREQ("C:\\Program Files\\Velkin\\vlkcfg.exe", path);

    // "ソ" and "表" end in the byte of a backslash; neither is a folder break.
    BuildConfigProgramPath("C:\\ソフト\\表ソ.exe", path, sizeof path);
    EXPECT_STREQ("C:\\ソフト\\vlkcfg.exe", path);
}

TEST(ExternalProgramsTest, ErrorPutsThePathOnALineOfItsOwn)
{
    char text[512];
    FormatConfigProgramError("C:\\ソフト\\vlkcfg.exe", text, sizeof text);
    EXPECT_STREQ("設定プログラム\nC:\\ソフト\\vlkcfg.exe\nを起動できません。", text);
}

TEST(ExternalProgramsTest, VolumeControlFallsBackToTheNewerName)
{
    TempFolder folder;
    CurrentDirectory inFolder(folder.Path());
    char path[MAX_PATH];
    if (FindVolumeControl(path, sizeof path))
        GTEST_SKIP() << "this system has " << path;
    EXPECT_STREQ("", path);
    EXPECT_FALSE(StartVolumeControl(nullptr));

    // Only the newer name exists, as on Windows Vista and later.
    ASSERT_TRUE(CopyFileA((ProgramFolder() + DoubleName).c_str(), folder.File("sndvol.exe").c_str(), FALSE));
    ASSERT_TRUE(FindVolumeControl(path, sizeof path));
    EXPECT_TRUE(EndsWith(path, "\\sndvol.exe")) << path;
    ASSERT_TRUE(StartVolumeControl(nullptr));
    std::string ini = folder.File("velkin.ini");
    EXPECT_TRUE(PumpUntil([&] { return GetFileAttributesA(ini.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));

    // The older name wins where both exist.
    ASSERT_TRUE(CopyFileA((ProgramFolder() + DoubleName).c_str(), folder.File("sndvol32.exe").c_str(), FALSE));
    ASSERT_TRUE(FindVolumeControl(path, sizeof path));
    EXPECT_TRUE(EndsWith(path, "\\sndvol32.exe")) << path;
}

}  // namespace
