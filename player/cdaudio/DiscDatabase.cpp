#include "DiscDatabase.h"

#include "DiscTitles.h"
#include "Text.h"

namespace {

// Values are read into a zeroed buffer of their own and then copied, so a
// long title is cut at a character boundary and the caller's buffer is never
// left with a torn double-byte character.
void Lookup(const ProfileFile& database, const char* section, const char* key, const char* defaultText,
            char* text, size_t capacity)
{
    if (database.path[0] == '\0' || section == nullptr) {
        CopyText(text, capacity, defaultText);  // no database: never let Windows pick a file
        return;
    }
    char value[2 * DiscTitles::TextCapacity] = {};  // more than the largest text a caller keeps
    database.GetString(section, key, defaultText, value, sizeof value - 1);
    CopyText(text, capacity, value);
}

}  // namespace

void GetDiscTitle(const ProfileFile& database, const char* discId, char* text, size_t capacity)
{
    Lookup(database, discId, "title", "（タイトルなし）", text, capacity);
}

void GetDiscArtist(const ProfileFile& database, const char* discId, char* text, size_t capacity)
{
    Lookup(database, discId, "artist", "（アーティスト名なし）", text, capacity);
}

void GetTrackName(const ProfileFile& database, const char* discId, int track, char* text, size_t capacity)
{
    char key[16];
    char defaultName[16];
    FormatText(key, sizeof key, "%d", track - 1);
    FormatText(defaultName, sizeof defaultName, "トラック %d", track);
    Lookup(database, discId, key, defaultName, text, capacity);
}
