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
};

extern const char SettingsFileName[];   // "velkin.ini"
extern const char DefaultSstpScript[];

// settingsPath: the folder of the program file followed by "velkin.ini".
void BuildSettingsPath(const char* modulePath, char* settingsPath, size_t capacity);

void LoadSettings(const ProfileFile& file, Settings& settings);
// Writes every key but Drive. False when any write failed (for instance a
// read-only file), so the caller can tell the user that nothing was saved.
bool SaveSettings(ProfileFile& file, const Settings& settings);
bool SaveDrive(ProfileFile& file, int drive);
