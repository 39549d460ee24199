#pragma once

#include "PlayEndWatch.h"

#include <windows.h>
#include <mmsystem.h>

class PlayerApplication;

// How the arrival sound is played; mciSendStringA unless a test watches.
typedef MCIERROR(WINAPI* SendStringFunction)(LPCSTR command, LPSTR answer, UINT answerSize, HWND callback);

// Turns commands, completion notifications and disc arrivals into requests
// to the CD device. Keeps no model of the disc: it asks the device each time.
class PlayerController {
public:
    explicit PlayerController(PlayerApplication& owner);

    LRESULT OnCommand(WPARAM wParam);
    LRESULT OnPlayCompleted(WPARAM code);
    // The play-end watch's timer: acts on a play that ended without notification.
    LRESULT OnPlayEndTimer();
    // An arrival or removal counts only when its data names the CD drive in
    // use: the chosen drive's letter, or any CD-ROM drive with the default
    // device.
    LRESULT OnDeviceChange(WPARAM event, LPARAM data);

    bool PlayTrack(int track);
    void PlayRandomTrack();
    void PlayPause();
    void StopPlay();
    void PreviousTrack();
    void NextTrack();
    void SelectTrack(WPARAM commandId);
    void SelectDrive(WPARAM commandId);
    void ToggleMode(int index);
    void EjectDisc();

    // True when the completed play ended the disc: the last track is current
    // and either intro play is on, or the position lies in the second half
    // of that track, or the position cannot be read.
    bool IsAtEndOfDisc(int trackCount);

    SendStringFunction sendString;
    PlayEndWatch playEndWatch;

private:
    bool PlayTrackRequest(int track);
    void ChangeTrack(int target);
    void StartTrack(int track);
    bool NamesCdDrive(LPARAM data) const;
    // What follows a play that has reached its end: the play modes decide.
    void PlayEnded();
    void PlayArrivalSound();

    PlayerApplication& app;
};

// The track that random play starts for a draw of rand(): 1 to count, 1 when
// the count cannot be read (-1), and 0 (none) for a disc without tracks.
int ChooseRandomTrack(int trackCount, int draw);

// "play "<path>" wait": the path quoted, so spaces in it stay part of it.
void FormatSoundCommand(const char* path, char* command, size_t capacity);
