#pragma once

#include "Disc.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>

// One drive letter as this process sees it: the disc and door from the drive
// file, and the simulated playback. Times are in real seconds; the speed
// factor turns them into disc time. Not locked: the caller holds DriveBay's
// lock around every call.
class VirtualDrive {
public:
    explicit VirtualDrive(char letter);

    char Letter() const { return letter; }

    // Devices of this process open on the drive; the last close ends a play.
    void AddUser() { users++; }
    bool RemoveUser() { return --users <= 0; }

    // Contents from the drive file. identity names the disc as inserted (file,
    // media, door, tracks): when it changes, a play ends and the position
    // returns to the start of the disc, as after a real disc change.
    void Load(const std::string& identity, bool media, bool door, const std::string& tracks,
              const std::string& upc, double now);
    void SetSpeed(int factor, double now);
    // Lengths of the last track and of the disc one frame short of the
    // lead-out, as the platform's CD audio drivers report them.
    void SetShortLastTrack(bool shortened) { shortLastTrack = shortened; }
    bool ShortLastTrack() const { return shortLastTrack; }
    // false: a play that reaches its end never sends MCI_NOTIFY_SUCCESSFUL,
    // as Wine's CD audio driver; its notification waits, and the next play,
    // stop or seek sends it as superseded or aborted.
    void SetEndNotify(bool notify) { endNotify = notify; }

    bool HasDisc() const { return media && !doorOpen && disc.TrackCount() > 0; }
    bool MediaPresent() const { return media && disc.TrackCount() > 0; }
    bool DoorOpen() const { return doorOpen; }
    const Disc& GetDisc() const { return disc; }
    const std::string& Upc() const { return upc; }

    // Ends a play that has reached its end, with its notification.
    void Settle(double now);
    bool Playing() const { return playing; }
    int Position(double now) const;
    // Real time at which the running play ends; negative when none runs.
    double Deadline() const;

    // Starts a play of [from, to); a notification still waiting is
    // superseded. window is 0 for a play without notification.
    void Play(int from, int to, double now, HWND window, MCIDEVICEID device);
    // Ends a play at the current position; its notification, if any, is
    // sent as aborted.
    void Stop(double now);
    void Seek(int frame, double now);
    // Drops the notification that device still waits for, as aborted.
    void AbortNotice(MCIDEVICEID device);

private:
    void Notify(UINT status);

    char letter;
    int users = 0;
    std::string identity;
    bool media = false;
    bool doorOpen = false;
    Disc disc;
    std::string upc;
    int speed = 1;
    bool shortLastTrack = false;
    bool endNotify = true;

    int position = Disc::kLeadIn; // while stopped
    bool playing = false;
    int playFrom = 0;
    int playTo = 0;
    double playStart = 0;

    HWND noticeWindow = nullptr;
    MCIDEVICEID noticeDevice = 0;
    bool noticePending = false;
};

// Missing from MinGW's headers, exported by winmm.
extern "C" {
BOOL WINAPI mciDriverNotify(HANDLE callback, MCIDEVICEID device, UINT status);
DWORD_PTR WINAPI mciGetDriverData(MCIDEVICEID device);
BOOL WINAPI mciSetDriverData(MCIDEVICEID device, DWORD_PTR data);
}
