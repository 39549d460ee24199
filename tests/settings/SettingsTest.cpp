#include "Settings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The value as a reader of the file gets it; "<none>" when the key is missing.
std::string Stored(const std::string& path, const char* section, const char* key)
{
    char value[1100];
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, path.c_str());
    return value;
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

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    const struct {
        const char* section;
        const char* key;
        std::string value;
    } saved[] = {
        {"General", "PlayOnExec", "0"}, {"General", "PlayOnInsert", "1"}, {"General", "SoundOnInsert", "1"},
        {"General", "SoundFile", std::string(windows) + "\\media\\chimes.wav"}, {"General", "IntroTime", "10"},
        {"General", "Drive", "<none>"}, {"SSTP", "SendSstpMsg", "0"}, {"SSTP", "CheckSstpServer", "1"},
        {"SSTP", "SstpServer", "localhost"}, {"SSTP", "SstpPort", "9801"}, {"SSTP", "SstpScript", DefaultSstpScript},
        {"CDDB", "Lookup", "0"}, {"CDDB", "Server", "gnudb.gnudb.org"}, {"CDDB", "Port", "80"},
        {"CDDB", "Path", "/~cddb/cddb.cgi"}, {"CDDB", "Email", ""},
        {"HotKey", "MainMenu", "458765"}, {"HotKey", "TrackMenu", "458784"}, {"HotKey", "DriveMenu", "458845"},
        {"HotKey", "ModeMenu", "458760"}, {"HotKey", "Play", "983078"}, {"HotKey", "Stop", "458792"},
        {"HotKey", "Back", "458789"}, {"HotKey", "Next", "458791"}, {"HotKey", "Eject", "458821"},
        {"HotKey", "Load", "458828"}, {"HotKey", "Custom", "458819"}, {"HotKey", "Info", "458825"},
        {"HotKey", "Volume", "458838"}, {"HotKey", "VolCtrl", "458831"}, {"HotKey", "PropMM", "458829"},
        {"HotKey", "MediaKeys", "1"},
    };
    for (const auto& key : saved)
        EXPECT_EQ(key.value, Stored(path, key.section, key.key)) << key.key;
    LoadSettings(file, again);
    EXPECT_EQ(0, memcmp(&s, &again, sizeof s));

    TempFolder other;
    ProfileFile driveOnly(other.File("velkin.ini").c_str());
    ASSERT_TRUE(SaveDrive(driveOnly, -1));
    EXPECT_EQ("[General]\r\nDrive=-1\r\n", ReadWholeFile(other.File("velkin.ini")));

    // The settings file lies beside the program.
    char beside[MAX_PATH];
    BuildSettingsPath("C:\\Program Files\\ソフト\\velkin.exe", beside, sizeof beside);
    EXPECT_STREQ("C:\\Program Files\\ソフト\\velkin.ini", beside);
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
    std::string longHost = Kanji(200);  // 255 bytes would end in half of a "示"
    // The other values as they are read: the configuration program's tests.
    WriteWholeFile(path, "[CDDB]\r\nServer=" + longHost + "\r\nPort=70000\r\n"
                         "[General]\r\nSoundFile=\r\nDrive=4\r\n"
                         "[SSTP]\r\nSstpPort=70000\r\nSstpScript=" + longScript + "\r\nSstpServer=表示.example\r\n");
    ProfileFile file(path.c_str());
    Settings s;
    LoadSettings(file, s);
    EXPECT_STREQ("", s.SoundFile);  // present but empty is not the default
    EXPECT_EQ(4, s.Drive);
    EXPECT_EQ(4464, s.SstpPort);
    EXPECT_EQ(1023u, strlen(s.SstpScript));
    EXPECT_STREQ("表示.example", s.SstpServer);
    EXPECT_EQ(longHost.substr(0, 254), s.CddbServer);
    EXPECT_EQ(4464, s.CddbPort);

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

}  // namespace
