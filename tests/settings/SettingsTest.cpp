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

// The value as a reader of the file gets it; "<none>" when the key is missing.
std::string Stored(const std::string& path, const char* section, const char* key)
{
    char value[1100];
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, path.c_str());
    return value;
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
}

TEST(SettingsTest, NoFileGivesTheDefaultsAndSaveWritesEveryKeyButDrive)
{
    TempFolder folder;
    std::string path = folder.File("velkin.ini");
    ProfileFile file(path.c_str());
    Settings s, again;
    memset(&s, 0x55, sizeof s);  // a field the load leaves alone shows in the file
    memset(&again, 0x55, sizeof again);
    LoadSettings(file, s);
    EXPECT_EQ(-1, s.Drive);
    EXPECT_EQ(0, strncmp(s.SstpScript, "Script: \\h\\s0「$」", strlen("Script: \\h\\s0「$」")));
    s.hotKeys[CommandPlay] = 983078;
    ASSERT_EQ(SavedAll, SaveSettings(file, s));

    const struct {
        const char* section;
        const char* key;
        std::string value;
    } saved[] = {
        {"General", "PlayOnExec", "0"},
        {"General", "PlayOnInsert", "1"},
        {"General", "SoundOnInsert", "1"},
        {"General", "SoundFile", DefaultSoundFile()},
        {"General", "IntroTime", "10"},
        {"General", "Drive", "<none>"},
        {"SSTP", "SendSstpMsg", "0"},
        {"SSTP", "CheckSstpServer", "1"},
        {"SSTP", "SstpServer", "localhost"},
        {"SSTP", "SstpPort", "9801"},
        {"SSTP", "SstpScript", DefaultSstpScript},
        {"CDDB", "Lookup", "0"},
        {"CDDB", "Server", "gnudb.gnudb.org"},
        {"CDDB", "Port", "80"},
        {"CDDB", "Path", "/~cddb/cddb.cgi"},
        {"CDDB", "Email", ""},
    };
    for (const auto& key : saved)
        EXPECT_EQ(key.value, Stored(path, key.section, key.key)) << key.key;
    for (int i = 0; i < CommandCount; ++i) {
        int expected = i == CommandPlay ? 983078 : CommandTable[i].defaultValue;
        EXPECT_EQ(std::to_string(expected), Stored(path, "HotKey", CommandTable[i].key)) << i;
    }
    LoadSettings(file, again);
    EXPECT_EQ(0, memcmp(&s, &again, sizeof s));

    TempFolder other;
    ProfileFile driveOnly(other.File("velkin.ini").c_str());
    ASSERT_TRUE(SaveDrive(driveOnly, -1));
    EXPECT_EQ("[General]\r\nDrive=-1\r\n", ReadWholeFile(other.File("velkin.ini")));
}

// n characters of a double-byte text whose second bytes include 0x5C.
std::string Kanji(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += i % 2 ? "示" : "表";
    return text;
}

TEST(SettingsTest, ValuesAreReadWithTheirLimits)
{
    TempFolder folder;
    std::string path = folder.File("velkin.ini");
    std::string longScript = "Script: " + std::string(1100, 'x');
    std::string longHost;  // 255 bytes would end in half of a "表"
    for (int i = 0; i < 200; ++i)
        longHost += "表";
    WriteWholeFile(path, "[CDDB]\r\nLookup=1\r\nServer=" + longHost + "\r\nPort=70000\r\nEmail=me@example.org\r\n"
                         "[General]\r\nSoundFile=\r\nDrive=4\r\nIntroTime=90\r\n"
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
    EXPECT_EQ(1, s.CddbLookup);
    EXPECT_EQ(longHost.substr(0, 254), s.CddbServer);
    EXPECT_EQ(4464, s.CddbPort);
    EXPECT_STREQ("/~cddb/cddb.cgi", s.CddbPath);
    EXPECT_STREQ("me@example.org", s.CddbEmail);

    // Japanese texts longer than their fields end on a whole character, one
    // byte short of the field's limit; a drive that has no letter is the default device.
    const std::string sound = "C:\\A" + Kanji(200), server = Kanji(100), script = "Script: " + Kanji(600);
    for (const char* drive : {"26", "-2", "100"}) {
        WriteWholeFile(path, "[General]\r\nDrive=" + std::string(drive) + "\r\nSoundFile=" + sound +
                             "\r\n[SSTP]\r\nSstpServer=" + server + "\r\nSstpScript=" + script + "\r\n");
        LoadSettings(file, s);
        EXPECT_EQ(-1, s.Drive) << drive;
    }
    EXPECT_EQ(sound.substr(0, 258), s.SoundFile);
    EXPECT_EQ(server.substr(0, 126), s.SstpServer);
    EXPECT_EQ(script.substr(0, 1022), s.SstpScript);
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
    EXPECT_EQ(SavedNothing, SaveSettings(file, s));
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
