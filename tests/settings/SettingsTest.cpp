#include "Settings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
    s.hotKeys[CommandPlay] = 983078;
    ASSERT_EQ(SavedAll, SaveSettings(file, s));
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_EQ(std::string("[General]\r\nPlayOnExec=0\r\nPlayOnInsert=1\r\nSoundOnInsert=1\r\nSoundFile=") + windows +
                  "\\media\\chimes.wav\r\nIntroTime=10\r\n[SSTP]\r\nSendSstpMsg=0\r\nCheckSstpServer=1\r\n"
                  "SstpServer=localhost\r\nSstpPort=9801\r\nSstpScript=" + DefaultSstpScript + "\r\n[HotKey]\r\n"
                  "MainMenu=458765\r\nTrackMenu=458784\r\nDriveMenu=458845\r\nModeMenu=458760\r\nPlay=983078\r\n"
                  "Stop=458792\r\nBack=458789\r\nNext=458791\r\nEject=458821\r\nLoad=458828\r\nCustom=458819\r\n"
                  "Info=458825\r\nVolume=458838\r\nVolCtrl=458831\r\nPropMM=458829\r\nMediaKeys=1\r\n[CDDB]\r\nLookup=0\r\n"
                  "Server=gnudb.gnudb.org\r\nPort=80\r\nPath=/~cddb/cddb.cgi\r\nEmail=\r\n",
              ReadWholeFile(path));
    EXPECT_EQ(0, strncmp(s.SstpScript, "Script: \\h\\s0「$」", strlen("Script: \\h\\s0「$」")));
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

// Japanese texts longer than their fields end on a whole character, one byte
// short of the field's limit; ports keep their low 16 bits; a drive without a
// letter (26: beyond Z:) is the default device. (The other values as they are
// read: the configuration program's tests.)
TEST(SettingsTest, ValuesAreReadWithTheirLimits)
{
    TempFolder folder;
    std::string path = folder.File("velkin.ini");
    const std::string sound = "C:\\A" + Kanji(200), server = Kanji(100), script = "Script: " + Kanji(600);
    const std::string longHost = Kanji(200);  // 255 bytes would end in half of a "示"
    WriteWholeFile(path, "[General]\r\nDrive=26\r\nSoundFile=" + sound + "\r\n[SSTP]\r\nSstpPort=70000\r\nSstpServer=" +
                             server + "\r\nSstpScript=" + script + "\r\n[CDDB]\r\nServer=" + longHost +
                             "\r\nPort=70000\r\n");
    ProfileFile file(path.c_str());
    Settings s;
    LoadSettings(file, s);
    EXPECT_EQ(-1, s.Drive);
    EXPECT_EQ(sound.substr(0, 258), s.SoundFile);
    EXPECT_EQ(server.substr(0, 126), s.SstpServer);
    EXPECT_EQ(script.substr(0, 1022), s.SstpScript);
    EXPECT_EQ(longHost.substr(0, 254), s.CddbServer);
    EXPECT_TRUE(s.SstpPort == 4464 && s.CddbPort == 4464);

    WriteWholeFile(path, "[General]\r\nSoundFile=\r\nDrive=4\r\n[SSTP]\r\nSstpScript=Script: " + std::string(1100, 'x'));
    LoadSettings(file, s);
    EXPECT_STREQ("", s.SoundFile) << "present but empty is not the default";
    EXPECT_EQ(4, s.Drive);
    EXPECT_EQ(1023u, strlen(s.SstpScript));
}

}  // namespace
