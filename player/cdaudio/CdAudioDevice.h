#pragma once

#include <windows.h>
#include <mmsystem.h>

// Packed disc times. TMSF: track, minutes, seconds, frames in bytes 0 to 3
// (positions inside a track). MSF: minutes, seconds, frames in bytes 0 to 2
// (absolute positions and durations).
inline DWORD MakeTmsf(int track, int minutes, int seconds, int frames)
{
    return static_cast<DWORD>((track & 0xFF) | (minutes & 0xFF) << 8 | (seconds & 0xFF) << 16 |
                              (frames & 0xFF) << 24);
}
inline DWORD MakeMsf(int minutes, int seconds, int frames)
{
    return static_cast<DWORD>((minutes & 0xFF) | (seconds & 0xFF) << 8 | (frames & 0xFF) << 16);
}
inline int MsfMinutes(DWORD msf) { return msf & 0xFF; }
inline int MsfSeconds(DWORD msf) { return (msf >> 8) & 0xFF; }
inline int MsfFrames(DWORD msf) { return (msf >> 16) & 0xFF; }
// Packed MSF values do not compare as numbers: count frames (75 a second).
inline long MsfToFrames(DWORD msf)
{
    return (static_cast<long>(MsfMinutes(msf)) * 60 + MsfSeconds(msf)) * 75 + MsfFrames(msf);
}

// Device modes as MCI reports them; -1 when the mode cannot be read.
enum CdMode {
    CdModeUnknown = -1,
    CdModeNotReady = 524,
    CdModeStopped = 525,
    CdModePlaying = 526,
    CdModeRecording = 527,
    CdModeSeeking = 528,
    CdModePaused = 529,
    CdModeDoorOpen = 530,
};

// The MCI CD audio device: the player's only way to the drive. Every command
// goes through SendCommand; truth-valued operations are true when MCI
// answered 0, integer queries are -1 when the command failed.
class CdAudioDevice {
public:
    CdAudioDevice();
    virtual ~CdAudioDevice();
    virtual void Release();

    bool Open(int drive);  // drive index 0 (A:) to 25 (Z:), or -1 for the default device
    bool Close();
    bool SetTimeFormat(DWORD format);
    bool Play(bool notify);
    bool PlayTracks(int first, int last, bool notify);
    bool PlayRange(DWORD fromTmsf, DWORD toTmsf, bool notify);
    bool Stop();
    bool Seek(int track, int minute, int second, int frame);
    bool OpenDoor();
    bool CloseDoor();
    bool IsMediaPresent();
    int GetMode();
    int GetTrackCount();
    int GetCurrentTrack();
    long GetPosition();           // absolute MSF
    long GetTrackStart(int track);  // absolute MSF
    long GetTrackLength(int track);  // MSF duration
    long GetDiscLength();          // MSF duration
    bool IsAudioTrack(int track);
    bool IsAudioDisc();
    int GetTrackElapsedSeconds();
    void GetDiscId(char* text, size_t capacity);  // empty text when the device cannot answer
    long GetUpc();  // -1 also for a UPC beyond the range of long (most are)
    bool GetUpcText(char* text, size_t capacity);  // every digit; empty and false when none
    void SetNotifyWindow(HWND window);

    MCIDEVICEID deviceId;
    HWND notifyWindow;

protected:
    // The one place that talks to winmm; tests may watch it.
    virtual MCIERROR SendCommand(UINT message, DWORD flags, void* parameters);

private:
    long QueryMsf(DWORD flags, DWORD item, DWORD track);
    long QueryStatus(DWORD flags, DWORD item, DWORD track);
    bool QueryInfo(DWORD item, char* answer, size_t capacity);
};
