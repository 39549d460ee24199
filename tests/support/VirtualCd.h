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
// default drive and the speed factor 100. Drive letters are capitals.
class VirtualCd {
public:
    VirtualCd();
    ~VirtualCd();
    VirtualCd(const VirtualCd&) = delete;
    VirtualCd& operator=(const VirtualCd&) = delete;

    // Simulated seconds per real second.
    void SetSpeed(int factor) { Set("Drives", {{"Speed", std::to_string(factor)}}); }
    // The drive an open without a drive letter uses.
    void SetDefaultDrive(char letter) { Set("Drives", {{"Default", std::string(1, letter)}}); }
    // Lengths of the last track and the disc one frame short, as real drivers give them.
    void SetShortLastTrack(bool shortened) { Set("Drives", {{"ShortLastTrack", shortened ? "1" : "0"}}); }
    // tracks: lengths "m:s.f" separated by blanks, "data/" before a data
    // track, e.g. "3:27.40 4:00.10 data/1:00.00". Closes the door.
    void InsertDisc(char letter, const std::string& tracks, const std::string& upc = "")
    {
        Set(std::string(1, letter), {{"Media", "1"}, {"Door", "0"}, {"Tracks", tracks}, {"Upc", upc}});
    }
    void RemoveDisc(char letter) { Set(std::string(1, letter), {{"Media", "0"}}); }
    // false: the drive never reports a play's end (as Wine's CD audio driver).
    void SetEndNotify(char letter, bool notify) { Set(std::string(1, letter), {{"EndNotify", notify ? "1" : "0"}}); }
    // The door as the drive file holds it now (the driver writes it when a
    // program opens or closes the door).
    bool IsDoorOpen(char letter) const;

    // Volume label that GetVolumeInformationA reports for the letter in the
    // Wine prefix, visible at once. Labels are removed again when the object goes. Under Wine a CD letter
    // without a label answers GetVolumeInformationA with an empty label: the
    // call does not fail for a drive without a disc as it does on Windows.
    void SetLabel(char letter, const std::string& label);

    // The command log: every line, or the lines containing a text (without
    // their line breaks).
    std::string Log() const { return ReadWholeFile(logPath); }
    std::vector<std::string> LogLines(const std::string& containing = "") const;
    void ClearLog() { WriteWholeFile(logPath, ""); }

private:
    // Sets keys of one section in a single save, so the driver never sees
    // half a change.
    void Set(const std::string& section, const std::vector<std::pair<const char*, std::string>>& values);

    TempFolder folder;
    std::string statePath;
    std::string logPath;
    std::string oldState;
    std::string oldLog;
    std::string labelled;  // the letters given a label
};
