#pragma once

#include "CddbAnswer.h"
#include "CddbClient.h"
#include "DiscTitles.h"
#include "TableOfContents.h"

#include <windows.h>

enum CddbLookupKind {
    CddbTakeFirstExact,  // query, then read the first exact match
    CddbListMatches,     // query only: every match, for the user to choose
    CddbReadMatch,       // read the match given
};

// One lookup: what to ask, and once it has run, the answer.
struct CddbLookup {
    CddbLookupKind kind;
    CddbServer server;
    TableOfContents toc;
    CddbMatch match;  // CddbReadMatch: the one to read
    char tag[16];     // the caller's own: which disc the lookup was for

    bool succeeded;
    CddbQueryResult queryResult;  // of the query, where one was made
    CddbMatches matches;          // CddbListMatches
    DiscTitles titles;    // CddbTakeFirstExact and CddbReadMatch
    char serverSaid[128]; // a failed lookup: the server's status line, if it gave one
};

// A zeroed lookup from the heap; null when there is no memory.
CddbLookup* NewCddbLookup();
void DeleteCddbLookup(CddbLookup* lookup);
// How many lookups are made and not yet deleted: each is a hundred kilobytes.
LONG CddbLookupsInUse();

// The message with which the player's windows get a lookup's answer.
const UINT CddbAnswerMessage = WM_APP + 0x40;

// Runs the lookup on this thread and fills its answer.
void RunCddbLookup(CddbLookup& lookup);

// Runs the lookup on a thread of its own, so the window's thread never waits
// for the network, then posts message to window with the lookup in lParam:
// the window takes it and deletes it. Where the window is gone, the thread
// deletes it. False, and the lookup deleted, when no thread could start.
bool StartCddbLookup(CddbLookup* lookup, HWND window, UINT message);
