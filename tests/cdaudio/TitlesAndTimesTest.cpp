#include "CdAudioDevice.h"
#include "DiscDatabase.h"
#include "DiscTitleStore.h"
#include "TestSupport.h"
#include "Text.h"
#include "TimeText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// What a lookup gives: the title for track -1, the artist for 0, else the track's name.
std::string Lookup(const ProfileFile& file, const char* id, int track, size_t size = 256)
{
    char text[256];
    if (track < 0)
        GetDiscTitle(file, id, text, size);
    else if (track == 0)
        GetDiscArtist(file, id, text, size);
    else
        GetTrackName(file, id, track, text, size);
    return text;
}

TEST(DiscDatabaseTest, TitlesArtistsTrackNamesTheirDefaultsAndCutsWithinTheBuffer)
{
    TempFolder folder;
    std::string wide(200, ' ');
    for (size_t i = 0; i < wide.size(); i += 2)
        wide.replace(i, 2, "表");
    WriteWholeFile(folder.File("cdplayer.ini"), "[D0D2A]\r\ntitle=夜明けの表示\r\nartist=ソナタ楽団\r\n0=はじまり\r\n"
                                                "[2C42F]\r\n1=Two\r\n2=Three\r\n"
                                                "[1]\r\ntitle=A" + wide + "\r\nartist=" + wide + "\r\n");
    ProfileFile database(folder.File("cdplayer.ini").c_str()), none;
    // Track 1 is key "0": a section with "1" and "2" only names tracks 2 and 3.
    struct { const ProfileFile* file; const char* id; int track; std::string expected; } cases[] = {
        {&database, "D0D2A", -1, "夜明けの表示"}, {&database, "D0D2A", 0, "ソナタ楽団"},
        {&database, "D0D2A", 1, "はじまり"}, {&database, "2C42F", 1, "トラック 1"}, {&database, "2C42F", 2, "Two"},
        // A disc without a section, the empty ID of a device that gave none, no database file.
        {&database, "ABCDEF", -1, "（タイトルなし）"}, {&database, "", 0, "（アーティスト名なし）"},
        {&none, "D0D2A", 12, "トラック 12"}, {&none, "D0D2A", -1, "（タイトルなし）"},
        // Cut at a character within a 128-byte buffer: 127 bytes would split one.
        {&database, "1", -1, "A" + wide.substr(0, 126)}, {&database, "1", 0, wide.substr(0, 126)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Lookup(*c.file, c.id, c.track, c.expected.size() > 100 ? 128 : 256)) << c.id << c.track;
}

// Both files present: a disc is taken whole from the first file that has a
// section for it, never key by key from both.
TEST(DiscTitleStoreTest, EachDiscFromTheFileBesideTheProgramFirstThenTheWindowsFolder)
{
    TempFolder folder;
    const std::string own = folder.File("cdplayer.ini"), windows = folder.File("windows.ini");
    WriteWholeFile(own, "[A1]\r\ntitle=手元の題\r\n[E5]\r\n");
    WriteWholeFile(windows, "[A1]\r\ntitle=古い題\r\nartist=古い人\r\n0=古い曲\r\n"
                            "[B2]\r\ntitle=窓の題\r\n0=窓の曲\r\n[E5]\r\ntitle=空の先\r\n");
    DiscTitleStore store;
    store.SetPaths(own.c_str(), windows.c_str());
    char text[256];
    auto shown = [&](const char* id) {
        std::string line;
        GetDiscTitle(store, id, text, sizeof text), line += text;
        GetDiscArtist(store, id, text, sizeof text), line += "/" + std::string(text);
        GetTrackName(store, id, 1, text, sizeof text), line += "/" + std::string(text);
        return line + (store.HasEntry(id) ? " entry" : "");
    };
    EXPECT_EQ("手元の題/（アーティスト名なし）/トラック 1 entry", shown("A1"));
    EXPECT_EQ("窓の題/（アーティスト名なし）/窓の曲 entry", shown("B2"));
    EXPECT_EQ("（タイトルなし）/（アーティスト名なし）/トラック 1", shown("C3"));
    // A section without keys names nothing: the Windows folder's entry counts.
    EXPECT_EQ("空の先/（アーティスト名なし）/トラック 1 entry", shown("E5"));
    EXPECT_EQ(windows, store.FileFor("B2").path);
    EXPECT_EQ(own, store.FileFor("C3").path);

    // The files the player looks in: beside the program, and in the Windows folder.
    store.Locate("C:\\Program Files\\ソフト表\\velkin.exe");
    char windowsFolder[MAX_PATH];
    GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    EXPECT_STREQ("C:\\Program Files\\ソフト表\\cdplayer.ini", store.ownFile.path);
    EXPECT_EQ(std::string(windowsFolder) + "\\cdplayer.ini", store.windowsFile.path);
}

// Written where the entry was found, or beside the program for a new one;
// the keys the editor does not know stay; names go in whole, on one line.
TEST(DiscTitleStoreTest, WritesTheEntryWhereItIsKeepsOtherKeysAndSaysWhenItCannot)
{
    TempFolder folder;
    const std::string own = folder.File("cdplayer.ini"), windows = folder.File("windows.ini");
    const std::string old = "[B2]\r\nEntryType=1\r\ntitle=窓の題\r\nnumtracks=3\r\n0=窓の曲\r\norder=0 1 2\r\n";
    WriteWholeFile(windows, old);
    DiscTitleStore store;
    store.SetPaths(own.c_str(), windows.c_str());
    std::unique_ptr<DiscTitles> titles(new DiscTitles), back(new DiscTitles);

    store.Load("B2", 3, *titles);
    EXPECT_EQ("窓の題|（アーティスト名なし）|3|窓の曲|トラック 2|トラック 3",
              std::string(titles->title) + "|" + titles->artist + "|" + std::to_string(titles->trackCount) + "|" +
                  titles->tracks[0] + "|" + titles->tracks[1] + "|" + titles->tracks[2]);
    std::string whole;  // 1000 bytes of "表", whose second byte is a backslash
    for (int i = 0; i < 500; ++i)
        whole += "表";
    CopyText(titles->title, sizeof titles->title, whole.c_str());
    CopyText(titles->tracks[0], sizeof titles->tracks[0], "一行\r\n[X]\tめ");
    titles->tracks[1][0] = '\0';  // an empty name: the default shows again
    const char* path = nullptr;
    ASSERT_TRUE(store.Write("B2", *titles, &path));
    EXPECT_EQ(windows, path);
    EXPECT_EQ("[B2]\r\nEntryType=1\r\ntitle=" + whole + "\r\nnumtracks=3\r\n0=一行  [X] め\r\norder=0 1 2\r\n"
              "artist=（アーティスト名なし）\r\n2=トラック 3\r\n",
              ReadWholeFile(windows));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(own.c_str()));
    store.Load("B2", 3, *back);
    EXPECT_EQ(whole, back->title);
    EXPECT_STREQ("トラック 2", back->tracks[1]);

    // A new entry goes beside the program; more than 99 tracks are cut to 99.
    titles->trackCount = 120;
    ASSERT_TRUE(store.Write("C3", *titles, &path));
    EXPECT_EQ(own, path);
    store.Load("C3", 150, *back);
    EXPECT_EQ(99, back->trackCount);
    EXPECT_EQ(99u, GetPrivateProfileIntA("C3", "numtracks", 0, own.c_str()));
    EXPECT_EQ(whole, back->title);

    // The Windows folder's file that the user may not write (here: held open
    // by another without sharing its writes): the whole entry goes beside the
    // program, where it is found first.
    const std::string before = ReadWholeFile(windows);
    HANDLE held = CreateFileA(windows.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    CopyText(titles->artist, sizeof titles->artist, "新しい人");
    titles->trackCount = 3;
    EXPECT_TRUE(store.Write("B2", *titles, &path));
    CloseHandle(held);
    EXPECT_EQ(own, path);
    EXPECT_EQ(before, ReadWholeFile(windows));
    EXPECT_EQ(own, store.FileFor("B2").path);
    EXPECT_NE(std::string::npos, ReadWholeFile(own).find("[B2]\r\ntitle=" + whole + "\r\nartist=新しい人\r\nnumtracks=3\r\n"));

    // Nowhere to write: false, naming the file it tried.
    DiscTitleStore closed;
    const std::string blocked = folder.File("blocked.ini");
    ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
    closed.SetPaths(blocked.c_str(), windows.c_str());
    EXPECT_FALSE(closed.Write("D4", *titles, &path));
    EXPECT_EQ(blocked, path);
    EXPECT_FALSE(closed.Write("", *titles));
    closed.SetPaths("", "");
    EXPECT_FALSE(closed.Write("D4", *titles));
    RemoveDirectoryA(blocked.c_str());
}

TEST(TimeTextTest, MinutesSecondsAndMsf)
{
    char text[16];
    FormatMinSec(75, 30, text, sizeof text);
    EXPECT_STREQ("1:15:30", text);
    const DWORD msf[] = {MakeMsf(3, 5, 0), MakeMsf(59, 59, 0), MakeMsf(60, 0, 0), MakeMsf(3, 27, 74)};
    const char* expected[] = {"3:05", "59:59", "1:00:00", "3:27"};
    for (int i = 0; i < 4; ++i) {
        FormatMsf(msf[i], text, sizeof text);
        EXPECT_STREQ(expected[i], text);
    }
}

}  // namespace
