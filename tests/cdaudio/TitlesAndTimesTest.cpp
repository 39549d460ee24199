#include "DiscTitleStore.h"
#include "TestSupport.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Both files present: a disc is taken whole from the first file that has a
// section for it, never key by key from both. Track 1 is key "0".
TEST(DiscTitleStoreTest, EachDiscFromTheFileBesideTheProgramFirstThenTheWindowsFolderElseTheDefaults)
{
    TempFolder folder;
    const std::string own = folder.File("cdplayer.ini"), windows = folder.File("windows.ini");
    std::string wide;
    for (int i = 0; i < 100; ++i)
        wide += "表";
    WriteWholeFile(own, "[A1]\r\ntitle=手元の題\r\n[E5]\r\n[C3]\r\n1=Two\r\n[W]\r\ntitle=A" + wide + "\r\n");
    WriteWholeFile(windows, "[A1]\r\ntitle=古い題\r\nartist=古い人\r\n0=古い曲\r\n"
                            "[B2]\r\ntitle=窓の題\r\nartist=ソナタ楽団\r\n0=窓の曲\r\n[E5]\r\ntitle=空の先\r\n");
    DiscTitleStore store;
    store.SetPaths(own.c_str(), windows.c_str());
    char text[256];
    auto shown = [&](const char* id, int track = 1) {
        std::string line;
        GetDiscTitle(store, id, text, sizeof text), line += text;
        GetDiscArtist(store, id, text, sizeof text), line += "/" + std::string(text);
        GetTrackName(store, id, track, text, sizeof text), line += "/" + std::string(text);
        return line + (store.HasEntry(id) ? " entry" : "");
    };
    EXPECT_EQ("手元の題/（アーティスト名なし）/トラック 1 entry", shown("A1"));
    EXPECT_EQ("窓の題/ソナタ楽団/窓の曲 entry", shown("B2"));
    EXPECT_EQ("（タイトルなし）/（アーティスト名なし）/Two entry", shown("C3", 2));
    EXPECT_EQ("（タイトルなし）/（アーティスト名なし）/トラック 12", shown("D4", 12));
    EXPECT_EQ("（タイトルなし）/（アーティスト名なし）/トラック 1", shown(""));  // a device that gave no ID
    // A section without keys names nothing: the Windows folder's entry counts.
    EXPECT_EQ("空の先/（アーティスト名なし）/トラック 1 entry", shown("E5"));
    // Cut at a character within a 128-byte buffer: 127 bytes would split one.
    GetDiscTitle(store, "W", text, 128);
    EXPECT_EQ("A" + wide.substr(0, 126), text);

    // The files the player looks in: beside the program (as the acceptance
    // scenarios find it), and in the Windows folder. Neither exists here.
    store.Locate("C:\\Program Files\\ソフト表\\velkin.exe");
    char windowsFolder[MAX_PATH];
    GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    EXPECT_EQ(std::string(windowsFolder) + "\\cdplayer.ini", store.windowsFile.path);
    EXPECT_EQ("（タイトルなし）/（アーティスト名なし）/トラック 1", shown("B2"));
}

// Written where the entry was found, or beside the program for a new one;
// the keys the editor does not know stay; names go in whole, on one line.
// (A write that fails is the title editor's test: the user is told.)
TEST(DiscTitleStoreTest, WritesTheEntryWhereItIsAndKeepsOtherKeys)
{
    TempFolder folder;
    const std::string own = folder.File("cdplayer.ini"), windows = folder.File("windows.ini");
    const std::string old = "[B2]\r\nEntryType=1\r\ntitle=窓の題\r\nnumtracks=3\r\n0=窓の曲\r\norder=0 1 2\r\n";
    WriteWholeFile(windows, old);
    DiscTitleStore store;
    store.SetPaths(own.c_str(), windows.c_str());
    std::unique_ptr<DiscTitles> titles(new DiscTitles), back(new DiscTitles);

    store.Load("B2", 3, *titles);  // as the title editor opens
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
}

}  // namespace
