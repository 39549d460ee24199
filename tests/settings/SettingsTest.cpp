#include "Settings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string DefaultSoundFile()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir) + "\\media\\chimes.wav";
}

// The value of key in section, read from the raw bytes of an INI file.
std::string RawValue(const std::string& bytes, const std::string& section, const std::string& key)
{
    size_t start = bytes.find("[" + section + "]");
    if (start == std::string::npos)
        return "<no section>";
    size_t end = bytes.find("\n[", start + 1);
    std::string body = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
    size_t at = body.find("\n" + key + "=");
    if (at == std::string::npos)
        return "<no key>";
    at += key.size() + 2;
    return body.substr(at, body.find_first_of("\r\n", at) - at);
}

TEST(SettingsTest, CommandTableDefaults)
{
    const int expected[CommandCount] = {458765, 458784, 458845, 458760, 458790, 458792, 458789, 458791,
                                        458821, 458828, 458819, 458825, 458838, 458831, 458829};
    const char* keys[CommandCount] = {"MainMenu", "TrackMenu", "DriveMenu", "ModeMenu", "Play",
                                      "Stop", "Back", "Next", "Eject", "Load",
                                      "Custom", "Info", "Volume", "VolCtrl", "PropMM"};
    for (int i = 0; i < CommandCount; ++i) {
        EXPECT_EQ(expected[i], CommandTable[i].defaultValue) << i;
        EXPECT_STREQ(keys[i], CommandTable[i].key) << i;
    }
    EXPECT_STREQ("メインメニュー表示", CommandTable[0].label);
    EXPECT_STREQ("マルチメディアのプロパティ", CommandTable[14].label);
    EXPECT_EQ(7u, HotKeyModifiers(458765));
    EXPECT_EQ(13u, HotKeyCode(458765));
}

TEST(SettingsTest, NoFileGivesEveryDefault)
{
    TempFolder folder;
    ProfileFile file(folder.File("velkin.ini").c_str());
    Settings s;
    memset(&s, 0x55, sizeof s);
    LoadSettings(file, s);
    EXPECT_EQ(0, s.PlayOnExec);
    EXPECT_EQ(1, s.PlayOnInsert);
    EXPECT_EQ(1, s.SoundOnInsert);
    EXPECT_EQ(DefaultSoundFile(), s.SoundFile);
    EXPECT_EQ(10, s.IntroTime);
    EXPECT_EQ(-1, s.Drive);
    EXPECT_EQ(0, s.SendSstpMsg);
    EXPECT_EQ(1, s.CheckSstpServer);
    EXPECT_STREQ("localhost", s.SstpServer);
    EXPECT_EQ(9801, s.SstpPort);
    EXPECT_STREQ(DefaultSstpScript, s.SstpScript);
    EXPECT_EQ(0, strncmp(s.SstpScript, "Script: \\h\\s0「$」", strlen("Script: \\h\\s0「$」")));
    for (int i = 0; i < CommandCount; ++i)
        EXPECT_EQ(CommandTable[i].defaultValue, s.hotKeys[i]);
}

TEST(SettingsTest, ValuesAreReadWithTheirLimits)
{
    TempFolder folder;
    std::string path = folder.File("velkin.ini");
    std::string longScript = "Script: " + std::string(1100, 'x');
    WriteWholeFile(path, "[General]\r\nSoundFile=\r\nDrive=4\r\nIntroTime=90\r\n"
                         "[SSTP]\r\nSstpPort=70000\r\nSstpScript=" + longScript +
                         "\r\nSstpServer=表示.example\r\n"
                         "[HotKey]\r\nEject=262213\r\n");
    ProfileFile file(path.c_str());
    Settings s;
    LoadSettings(file, s);
    EXPECT_STREQ("", s.SoundFile);  // present but empty is not the default
    EXPECT_EQ(4, s.Drive);
    EXPECT_EQ(90, s.IntroTime);
    EXPECT_EQ(4464, s.SstpPort);
    EXPECT_EQ(1023u, strlen(s.SstpScript));
    EXPECT_STREQ("表示.example", s.SstpServer);
    EXPECT_EQ(262213, s.hotKeys[CommandEject]);
    EXPECT_EQ(458765, s.hotKeys[CommandMainMenu]);
}

TEST(SettingsTest, SaveWritesEveryKeyButDriveAndSaveDriveOnlyDrive)
{
    TempFolder folder;
    std::string path = folder.File("velkin.ini");
    ProfileFile file(path.c_str());
    Settings s = {};
    LoadSettings(file, s);
    s.SstpPort = 11000;
    s.hotKeys[CommandPlay] = 983078;
    ASSERT_TRUE(SaveSettings(file, s));

    std::string bytes = ReadWholeFile(path);
    EXPECT_EQ("0", RawValue(bytes, "General", "PlayOnExec"));
    EXPECT_EQ("1", RawValue(bytes, "General", "PlayOnInsert"));
    EXPECT_EQ("1", RawValue(bytes, "General", "SoundOnInsert"));
    EXPECT_EQ(DefaultSoundFile(), RawValue(bytes, "General", "SoundFile"));
    EXPECT_EQ("10", RawValue(bytes, "General", "IntroTime"));
    EXPECT_EQ("<no key>", RawValue(bytes, "General", "Drive"));
    EXPECT_EQ("0", RawValue(bytes, "SSTP", "SendSstpMsg"));
    EXPECT_EQ("1", RawValue(bytes, "SSTP", "CheckSstpServer"));
    EXPECT_EQ("localhost", RawValue(bytes, "SSTP", "SstpServer"));
    EXPECT_EQ("11000", RawValue(bytes, "SSTP", "SstpPort"));
    EXPECT_EQ(DefaultSstpScript, RawValue(bytes, "SSTP", "SstpScript"));
    for (int i = 0; i < CommandCount; ++i) {
        int expected = i == CommandPlay ? 983078 : CommandTable[i].defaultValue;
        EXPECT_EQ(std::to_string(expected), RawValue(bytes, "HotKey", CommandTable[i].key));
    }

    Settings again = {};
    LoadSettings(file, again);
    EXPECT_EQ(0, memcmp(&s, &again, sizeof s));

    TempFolder other;
    std::string drivePath = other.File("velkin.ini");
    ProfileFile driveOnly(drivePath.c_str());
    ASSERT_TRUE(SaveDrive(driveOnly, -1));
    std::string driveBytes = ReadWholeFile(drivePath);
    EXPECT_EQ("-1", RawValue(driveBytes, "General", "Drive"));
    EXPECT_EQ(std::string::npos, driveBytes.find("[SSTP]"));
    EXPECT_EQ(std::string::npos, driveBytes.find("PlayOnExec"));
}

TEST(SettingsTest, SaveReportsAFileThatCannotBeWritten)
{
    TempFolder folder;
    // A folder where the file should be: no write can succeed.
    std::string path = folder.File("velkin.ini");
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    ProfileFile file(path.c_str());
    Settings s;
    LoadSettings(file, s);
    EXPECT_FALSE(SaveSettings(file, s));
    EXPECT_FALSE(SaveDrive(file, 3));
    RemoveDirectoryA(path.c_str());
}

TEST(SettingsTest, SettingsFileLiesBesideTheProgram)
{
    char path[MAX_PATH];
    BuildSettingsPath("C:\\Program Files\\ソフト\\velkin.exe", path, sizeof path);
    EXPECT_STREQ("C:\\Program Files\\ソフト\\velkin.ini", path);
}

}  // namespace
