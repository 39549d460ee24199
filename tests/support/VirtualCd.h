#pragma once

#include "TestSupport.h"

#include <string>
#include <vector>

// The virtual CD drive (vcdaudio.dll) as a test drives it: a fresh drive
// file and command log in a temporary folder, announced to the driver in this
// process and in every program it starts through VCDAUDIO_STATE and
// VCDAUDIO_LOG. Each change is visible to the driver at its next command.
//
// A new drive file has drives D: and E: without discs, doors closed, E: the
// default drive and the speed factor 100.
class VirtualCd {
public:
    VirtualCd();
    ~VirtualCd();
    VirtualCd(const VirtualCd&) = delete;
    VirtualCd& operator=(const VirtualCd&) = delete;

    // Simulated seconds per real second.
    void SetSpeed(int factor);
    // The drive an open without a drive letter uses.
    void SetDefaultDrive(char letter);
    // tracks: lengths "m:s.f" separated by blanks, "data/" before a data
    // track, e.g. "3:27.40 4:00.10 data/1:00.00". Closes the door.
    void InsertDisc(char letter, const std::string& tracks, const std::string& upc = "");
    void RemoveDisc(char letter);
    void SetDoor(char letter, bool open);
    // The door as the drive file holds it now (the driver writes it when a
    // program opens or closes the door).
    bool IsDoorOpen(char letter) const;

    // Volume label that GetVolumeInformationA reports for the letter in the
    // Wine prefix, visible at once; an empty label removes the label file.
    // Labels are removed again when the object goes. Under Wine a CD letter
    // without a label answers GetVolumeInformationA with an empty label: the
    // call does not fail for a drive without a disc as it does on Windows.
    void SetLabel(char letter, const std::string& label);

    // Any key of the drive file, for cases the methods above do not cover.
    void SetValue(const std::string& section, const std::string& key, const std::string& value);
    std::string Value(const std::string& section, const std::string& key) const;

    const std::string& StatePath() const { return statePath; }
    const std::string& LogPath() const { return logPath; }

    // The command log: every line, or the lines containing a text (without
    // their line breaks).
    std::string Log() const;
    std::vector<std::string> LogLines(const std::string& containing = "") const;
    void ClearLog();

private:
    void Restore(const char* name, const std::string& value, bool existed);

    TempFolder folder;
    std::string statePath;
    std::string logPath;
    std::string oldState;
    std::string oldLog;
    bool hadState = false;
    bool hadLog = false;
    std::vector<char> labelled;
};
