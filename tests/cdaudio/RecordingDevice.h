#pragma once

#include "CdAudioDevice.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// What one command carried, copied out of its parameter block.
struct SentCommand {
    UINT message;
    DWORD flags;
    DWORD formatInForce;
    std::string element;  // MCI_OPEN: "(none)" without MCI_OPEN_ELEMENT
    DWORD from, to;       // MCI_PLAY, MCI_SEEK
    DWORD value;          // MCI_SET: time format; MCI_STATUS: item
    DWORD track;
};

// A CdAudioDevice whose commands never reach winmm: each is recorded and
// answered from the tables, like a drive holding a made-up disc.
class RecordingDevice : public CdAudioDevice {
public:
    ~RecordingDevice() override { deviceId = 0; }  // nothing for the base to stop

    std::vector<SentCommand> sent;
    std::map<std::pair<DWORD, DWORD>, DWORD> status;  // (item, track) -> answer
    std::map<DWORD, std::string> info;                 // flags -> answer
    DWORD format = MCI_FORMAT_MILLISECONDS;

protected:
    MCIERROR SendCommand(UINT message, DWORD flags, void* parameters) override
    {
        SentCommand c = {message, flags, format, "", 0, 0, 0, 0};
        MCIERROR result = 0;
        if (message == MCI_OPEN) {
            auto* p = static_cast<MCI_OPEN_PARMSA*>(parameters);
            c.element = p->lpstrElementName ? p->lpstrElementName : "(none)";
            c.value = static_cast<DWORD>(reinterpret_cast<DWORD_PTR>(p->lpstrDeviceType));
            p->wDeviceID = 7;
        } else if (message == MCI_SET) {
            c.value = static_cast<MCI_SET_PARMS*>(parameters)->dwTimeFormat;
            format = c.value;
        } else if (message == MCI_PLAY) {
            c.from = static_cast<MCI_PLAY_PARMS*>(parameters)->dwFrom;
            c.to = static_cast<MCI_PLAY_PARMS*>(parameters)->dwTo;
        } else if (message == MCI_STATUS) {
            auto* p = static_cast<MCI_STATUS_PARMS*>(parameters);
            c.value = p->dwItem;
            c.track = p->dwTrack;
            auto answer = status.find({p->dwItem, (flags & MCI_TRACK) ? p->dwTrack : 0});
            result = answer == status.end() ? MCIERR_UNSUPPORTED_FUNCTION : 0;
            if (result == 0)
                p->dwReturn = answer->second;
        } else if (message == MCI_INFO) {
            auto* p = static_cast<MCI_INFO_PARMSA*>(parameters);
            c.track = p->dwRetSize;
            auto answer = info.find(flags);
            result = answer == info.end() ? MCIERR_UNSUPPORTED_FUNCTION : 0;
            if (result == 0)
                lstrcpynA(p->lpstrReturn, answer->second.c_str(), p->dwRetSize);
        }
        sent.push_back(c);
        return result;
    }
};
