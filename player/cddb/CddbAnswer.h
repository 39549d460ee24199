#pragma once

#include "DiscTitles.h"

#include <stddef.h>

// One disc the database offers for a query.
struct CddbMatch {
    char category[32];  // letters, digits, "-" and "_" only
    char discId[9];     // eight hexadecimal digits, lower case
    bool exact;         // false for the inexact matches of a 211 answer
    char title[256];    // "Artist / Title" in Shift_JIS, as the list shows it
};

struct CddbMatches {
    static constexpr int Max = 32;
    int count;
    CddbMatch items[Max];
};

enum CddbQueryResult {
    CddbQueryFailed,   // an error, or an answer that is not one
    CddbQueryNoMatch,  // 202
    CddbQueryMatched,  // 200, 210 or 211 with at least one usable match
};

// The answer to "cddb query" (answer[0..length), any bytes). Matches whose
// category or disc ID could not be sent back safely are left out.
CddbQueryResult ParseCddbQuery(const char* answer, size_t length, CddbMatches& matches);

// The answer to "cddb read": a 210 line, then an xmcd entry ended by ".".
// Fills the disc title and artist from DTITLE ("Artist / Title") and the
// names of tracks 1 to trackCount from TTITLE0 onwards; a key repeated on
// following lines continues its value. False, with titles unusable, for
// anything else.
bool ParseCddbRead(const char* answer, size_t length, int trackCount, DiscTitles& titles);
