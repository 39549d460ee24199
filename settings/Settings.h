#pragma once

#include "CommandTable.h"
#include "ProfileFile.h"

// All user settings of "velkin.ini". Field names are the key names.
struct Settings {
    int PlayOnExec;
    int PlayOnInsert;
    int SoundOnInsert;
    char SoundFile[MAX_PATH];
    int IntroTime;
    int Drive;  // -1: the default CD audio device; 0..25: A: to Z:; written by the player only
    int SendSstpMsg;
    int CheckSstpServer;
    char SstpServer[128];
    unsigned short SstpPort;
    char SstpScript[1024];
    int hotKeys[CommandCount];
    int MediaKeys;  // the keyboard's media keys act while a disc plays or is paused
    // Section CDDB: titles asked of a disc database server over HTTP.
    int CddbLookup;  // nothing leaves the machine until the user turns it on
    char CddbServer[256];
    unsigned short CddbPort;
    char CddbPath[256];
    char CddbEmail[256];  // the user's address; its two halves are the hello's user and host
};

extern const char SettingsFileName[];   // "velkin.ini"
extern const char DefaultSstpScript[];
extern const char DefaultCddbServer[];  // "gnudb.gnudb.org"
extern const char DefaultCddbPath[];    // "/~cddb/cddb.cgi"
const unsigned short DefaultCddbPort = 80;

// settingsPath: the folder of the program file followed by "velkin.ini".
void BuildSettingsPath(const char* modulePath, char* settingsPath, size_t capacity);

// A Drive outside -1..25 reads as -1; texts longer than their fields are cut
// between characters.
void LoadSettings(const ProfileFile& file, Settings& settings);

enum SaveResult {
    SavedAll,
    SavedNothing,  // the first write failed (for instance a read-only file): the file is as it was
    SavedPart,     // a later write failed: the keys before it are written, the rest are not
};
// Writes every key but Drive, in a fixed order, and stops at the first write
// that fails, so the caller can tell the user truly what became of the file.
SaveResult SaveSettings(ProfileFile& file, const Settings& settings);
bool SaveDrive(ProfileFile& file, int drive);
