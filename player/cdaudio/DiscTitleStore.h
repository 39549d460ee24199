#pragma once

#include "DiscTitles.h"
#include "ProfileFile.h"

#include <stddef.h>

// The two "cdplayer.ini" files that hold disc titles: the one beside
// velkin.exe, asked first, and the Windows folder's, which older CD players
// wrote. A disc's entry is its section, named by the disc ID, in the first of
// the two that has one; a disc that neither knows gets its entry beside
// velkin.exe. Every call reads the files afresh, so what is written is what
// the menus, the CD information and the next notification show.
class DiscTitleStore {
public:
    DiscTitleStore();
    ~DiscTitleStore();
    DiscTitleStore(const DiscTitleStore&) = delete;
    DiscTitleStore& operator=(const DiscTitleStore&) = delete;

    // The file beside the program file, and the one in the Windows folder.
    void Locate(const char* modulePath);
    void SetPaths(const char* ownPath, const char* windowsPath);

    // Whether either file has a section for the disc.
    bool HasEntry(const char* discId) const;
    // The file that holds the disc's entry; the one beside velkin.exe when
    // neither does.
    const ProfileFile& FileFor(const char* discId) const;

    // Fills titles with what the player shows for the disc, whole (up to
    // DiscTitles::TextCapacity - 1 bytes a text): the entry's texts, and the
    // defaults "（タイトルなし）", "（アーティスト名なし）" and "トラック n" where
    // it has none. trackCount names, cut to 0..MaxTracks.
    void Load(const char* discId, int trackCount, DiscTitles& titles) const;

    // Writes the disc's entry as the title editor does: "title", "artist",
    // "numtracks" and the track keys "0" to trackCount - 1, into the file
    // that holds the entry (for a new one, the file beside velkin.exe). Keys
    // it does not write stay as they are. An empty text removes its key, so
    // the default shows; control characters become blanks, so every value
    // stays on its line. When the Windows folder's file cannot be written
    // (an ordinary user may not write there), the whole entry goes beside
    // velkin.exe instead, where it is found first. False when the entry could
    // not be written. writtenPath, when given, receives the path of the file
    // written (or last tried). With fields, only the texts they name are
    // written (and numtracks).
    bool Write(const char* discId, const DiscTitles& titles, const char** writtenPath = nullptr,
               const DiscTitleFields* fields = nullptr);

    // Titles that could not be written, kept in memory for one disc until the
    // program ends: shown wherever no file has an entry for the disc.
    void Keep(const char* discId, const DiscTitles& titles);
    bool IsKept(const char* discId) const;
    // The kept titles of a disc that no file knows; null otherwise.
    const DiscTitles* KeptFor(const char* discId) const;

    ProfileFile ownFile;
    ProfileFile windowsFile;

private:
    DiscTitles* kept;  // from the heap, at the first Keep
    char keptDiscId[16];
};

// The lookups of DiscDatabase.h on the file that holds the disc's entry.
void GetDiscTitle(const DiscTitleStore& store, const char* discId, char* text, size_t capacity);
void GetDiscArtist(const DiscTitleStore& store, const char* discId, char* text, size_t capacity);
void GetTrackName(const DiscTitleStore& store, const char* discId, int track, char* text, size_t capacity);
