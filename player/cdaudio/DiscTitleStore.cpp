#include "DiscTitleStore.h"

#include "DiscDatabase.h"
#include "Text.h"

namespace {

const char FileName[] = "cdplayer.ini";

// A path cut short would name another file: such a path stays empty.
void BuildPath(const char* folderPath, char* path, size_t capacity)
{
    size_t folder = DirectoryPartLength(folderPath);
    if (ReplaceFileName(path, capacity, folderPath, FileName) != folder + sizeof FileName - 1)
        path[0] = '\0';
}

bool HasSection(const ProfileFile& file, const char* discId)
{
    if (file.path[0] == '\0' || discId == nullptr || discId[0] == '\0')
        return false;  // an empty path would make Windows read win.ini
    char keys[64];
    return file.GetString(discId, nullptr, "", keys, sizeof keys) > 0;
}

// A section name that the file can hold: the device's hexadecimal ID.
bool IsWritableSection(const char* discId)
{
    if (discId == nullptr || discId[0] == '\0')
        return false;
    for (const char* p = discId; *p != '\0'; ++p) {
        if (static_cast<unsigned char>(*p) < 0x20 || *p == '[' || *p == ']')
            return false;
    }
    return true;
}

// Line breaks and other control bytes would end the value early and leave
// the rest as a stray line; no Shift_JIS second byte is below 0x40.
void OneLine(const char* text, char* line, size_t capacity)
{
    CopyText(line, capacity, text);
    for (char* p = line; *p != '\0'; ++p) {
        if (static_cast<unsigned char>(*p) < 0x20)
            *p = ' ';
    }
}

bool WriteName(ProfileFile& file, const char* discId, const char* key, const char* text)
{
    char line[DiscTitles::TextCapacity];
    OneLine(text, line, sizeof line);
    return file.WriteString(discId, key, line[0] != '\0' ? line : nullptr) != FALSE;
}

int BoundedTrackCount(int trackCount)
{
    if (trackCount < 0)
        return 0;
    return trackCount > DiscTitles::MaxTracks ? DiscTitles::MaxTracks : trackCount;
}

// Stops at the first failed write: the usual failure (a file or folder
// closed to the user) fails the first one, so nothing is half written.
bool WriteEntry(ProfileFile& file, const char* discId, const DiscTitles& titles, const DiscTitleFields* fields)
{
    if (file.path[0] == '\0' || !IsWritableSection(discId))
        return false;  // an empty path would make Windows write win.ini
    if ((!fields || fields->title) && !WriteName(file, discId, "title", titles.title))
        return false;
    if ((!fields || fields->artist) && !WriteName(file, discId, "artist", titles.artist))
        return false;
    int count = BoundedTrackCount(titles.trackCount);
    if (!file.WriteInt(discId, "numtracks", count))
        return false;
    for (int i = 0; i < count; ++i) {
        char key[16];
        FormatText(key, sizeof key, "%d", i);
        if ((!fields || fields->tracks[i]) && !WriteName(file, discId, key, titles.tracks[i]))
            return false;
    }
    return true;
}

}  // namespace

DiscTitleStore::DiscTitleStore() : kept(nullptr), keptDiscId() {}

DiscTitleStore::~DiscTitleStore()
{
    if (kept)
        HeapFree(GetProcessHeap(), 0, kept);
}

void DiscTitleStore::Locate(const char* modulePath)
{
    char path[MAX_PATH];
    BuildPath(modulePath, path, sizeof path);
    ownFile.SetPath(path);

    // The Windows folder comes without its last backslash, unless it is a root.
    char windowsFolder[MAX_PATH + 1] = "";
    UINT length = GetWindowsDirectoryA(windowsFolder, MAX_PATH);
    path[0] = '\0';
    if (length > 0 && length < MAX_PATH) {
        if (DirectoryPartLength(windowsFolder) != length)
            AppendText(windowsFolder, sizeof windowsFolder, "\\");
        BuildPath(windowsFolder, path, sizeof path);
    }
    windowsFile.SetPath(path);
}

void DiscTitleStore::SetPaths(const char* ownPath, const char* windowsPath)
{
    ownFile.SetPath(ownPath);
    windowsFile.SetPath(windowsPath);
}

bool DiscTitleStore::HasEntry(const char* discId) const
{
    return HasSection(ownFile, discId) || HasSection(windowsFile, discId);
}

const ProfileFile& DiscTitleStore::FileFor(const char* discId) const
{
    if (!HasSection(ownFile, discId) && HasSection(windowsFile, discId))
        return windowsFile;
    return ownFile;
}

void DiscTitleStore::Load(const char* discId, int trackCount, DiscTitles& titles) const
{
    GetDiscTitle(*this, discId, titles.title, sizeof titles.title);
    GetDiscArtist(*this, discId, titles.artist, sizeof titles.artist);
    titles.trackCount = BoundedTrackCount(trackCount);
    for (int i = 0; i < titles.trackCount; ++i)
        GetTrackName(*this, discId, i + 1, titles.tracks[i], sizeof titles.tracks[i]);
}

void DiscTitleStore::Keep(const char* discId, const DiscTitles& titles)
{
    if (!kept)
        kept = static_cast<DiscTitles*>(HeapAlloc(GetProcessHeap(), 0, sizeof(DiscTitles)));
    if (!kept || !IsWritableSection(discId))
        return;
    CopyText(keptDiscId, sizeof keptDiscId, discId);
    *kept = titles;
    kept->trackCount = BoundedTrackCount(titles.trackCount);
}

bool DiscTitleStore::IsKept(const char* discId) const
{
    return kept && discId && keptDiscId[0] != '\0' && lstrcmpA(keptDiscId, discId) == 0;
}

const DiscTitles* DiscTitleStore::KeptFor(const char* discId) const
{
    return IsKept(discId) && !HasEntry(discId) ? kept : nullptr;
}

bool DiscTitleStore::Write(const char* discId, const DiscTitles& titles, const char** writtenPath,
                           const DiscTitleFields* fields)
{
    ProfileFile* file = &FileFor(discId) == &windowsFile ? &windowsFile : &ownFile;
    bool written = WriteEntry(*file, discId, titles, fields);
    if (!written && file == &windowsFile) {
        file = &ownFile;
        written = WriteEntry(*file, discId, titles, nullptr);  // the whole entry moves
    }
    if (writtenPath)
        *writtenPath = file->path;
    return written;
}

// Kept titles stand in for an entry; an empty one shows the default.
void GetDiscTitle(const DiscTitleStore& store, const char* discId, char* text, size_t capacity)
{
    const DiscTitles* kept = store.KeptFor(discId);
    if (kept && kept->title[0] != '\0')
        CopyText(text, capacity, kept->title);
    else
        GetDiscTitle(store.FileFor(discId), discId, text, capacity);
}

void GetDiscArtist(const DiscTitleStore& store, const char* discId, char* text, size_t capacity)
{
    const DiscTitles* kept = store.KeptFor(discId);
    if (kept && kept->artist[0] != '\0')
        CopyText(text, capacity, kept->artist);
    else
        GetDiscArtist(store.FileFor(discId), discId, text, capacity);
}

void GetTrackName(const DiscTitleStore& store, const char* discId, int track, char* text, size_t capacity)
{
    const DiscTitles* kept = store.KeptFor(discId);
    if (kept && track >= 1 && track <= kept->trackCount && kept->tracks[track - 1][0] != '\0')
        CopyText(text, capacity, kept->tracks[track - 1]);
    else
        GetTrackName(store.FileFor(discId), discId, track, text, capacity);
}
