#pragma once

#include "ProfileFile.h"

#include <stddef.h>

// Titles from one "cdplayer.ini", the CD players' database, keyed by the disc
// ID (DiscTitleStore picks the file). A missing file, disc or key gives the
// defaults "（タイトルなし）", "（アーティスト名なし）" and "トラック n".

void GetDiscTitle(const ProfileFile& database, const char* discId, char* text, size_t capacity);
void GetDiscArtist(const ProfileFile& database, const char* discId, char* text, size_t capacity);
void GetTrackName(const ProfileFile& database, const char* discId, int track, char* text, size_t capacity);
