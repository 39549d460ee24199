#pragma once

#include "ProfileFile.h"

#include <stddef.h>

// Titles from "cdplayer.ini", the operating system CD player's database,
// keyed by the disc ID. Read only. A missing file, disc or key gives the
// defaults "（タイトルなし）", "（アーティスト名なし）" and "トラック n".

// Finds "cdplayer.ini" on the search path; empty text when there is none.
void LocateDiscDatabase(char* path, size_t capacity);

void GetDiscTitle(const ProfileFile& database, const char* discId, char* text, size_t capacity);
void GetDiscArtist(const ProfileFile& database, const char* discId, char* text, size_t capacity);
void GetTrackName(const ProfileFile& database, const char* discId, int track, char* text, size_t capacity);
