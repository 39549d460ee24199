#pragma once

#include "CommandLog.h"
#include "VirtualDrive.h"

#include <windows.h>
#include <mmsystem.h>

// One MCI device opened on a virtual drive: its drive letter and time format,
// and the answers to every command winmm passes on.
class CdDevice {
public:
    explicit CdDevice(MCIDEVICEID id);

    DWORD Open(DWORD flags, const MCI_OPEN_PARMSW* parms);
    DWORD Close(DWORD flags);
    DWORD Command(UINT message, DWORD flags, DWORD_PTR parms);

private:
    DWORD Dispatch(UINT message, DWORD flags, DWORD_PTR parms, VirtualDrive& drive, double now, CommandLog& log);
    DWORD Play(DWORD flags, const MCI_PLAY_PARMS* parms, VirtualDrive& drive, double now, CommandLog& log);
    DWORD Seek(DWORD flags, const MCI_SEEK_PARMS* parms, VirtualDrive& drive, double now, CommandLog& log);
    DWORD Stop(VirtualDrive& drive, double now);
    DWORD Set(DWORD flags, const MCI_SET_PARMS* parms, double now, CommandLog& log);
    DWORD Status(DWORD flags, MCI_STATUS_PARMS* parms, VirtualDrive& drive, double now, CommandLog& log);
    DWORD DiscStatus(DWORD flags, MCI_STATUS_PARMS* parms, VirtualDrive& drive, double now);
    DWORD Info(DWORD flags, MCI_INFO_PARMSW* parms, VirtualDrive& drive, CommandLog& log);
    DWORD Capabilities(DWORD flags, MCI_GETDEVCAPS_PARMS* parms, CommandLog& log);
    void WaitForPlay(VirtualDrive& drive);

    // A position (or, for the length queries, a duration) in the time
    // format, and back.
    DWORD Encode(const Disc& disc, int frame) const;
    DWORD EncodeDuration(int frames) const;
    DWORD ReturnKind() const;
    DWORD Decode(const Disc& disc, DWORD value, int& frame) const;

    MCIDEVICEID id;
    char letter = 0;
    DWORD timeFormat = MCI_FORMAT_MSF;
};
