#pragma once

#include "CdAudioDevice.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// What one command carried, copied out of its parameter block.
struct SentCommand {
    UINT message = 0;
    DWORD flags = 0;
    DWORD timeFormat = 0;  // the format in force when the command was sent
    DWORD_PTR callback = 0;
    DWORD_PTR deviceType = 0;
    bool hasElement = false;
    std::string element;
    DWORD from = 0;
    DWORD to = 0;
    DWORD newTimeFormat = 0;
    DWORD item = 0;
    DWORD track = 0;
    DWORD returnSize = 0;
};

// A CdAudioDevice whose commands never reach winmm: each is recorded and
// answered from the tables below, like a drive holding one made-up disc.
class RecordingDevice : public CdAudioDevice {
public:
    ~RecordingDevice() override { deviceId = 0; }  // nothing for the base to stop

    std::vector<SentCommand> sent;
    MCIERROR openError = 0;
    MCIDEVICEID openedId = 7;
    std::map<std::pair<DWORD, DWORD>, DWORD_PTR> status;  // (item, track) -> answer
    std::map<DWORD, std::string> info;                      // item -> answer; absent fails
    DWORD format = MCI_FORMAT_MILLISECONDS;
    bool closed = false;

    void Answer(DWORD item, DWORD_PTR value, DWORD track = 0) { status[{item, track}] = value; }
    void Clear() { sent.clear(); }

protected:
    MCIERROR SendCommand(UINT message, DWORD flags, void* parameters) override
    {
        SentCommand command;
        command.message = message;
        command.flags = flags;
        command.timeFormat = format;
        if (parameters)
            command.callback = static_cast<MCI_GENERIC_PARMS*>(parameters)->dwCallback;
        MCIERROR result = 0;
        if (message != MCI_OPEN && (closed || deviceId != openedId))
            result = MCIERR_INVALID_DEVICE_ID;
        switch (message) {
        case MCI_OPEN: {
            auto* open = static_cast<MCI_OPEN_PARMSA*>(parameters);
            command.deviceType = reinterpret_cast<DWORD_PTR>(open->lpstrDeviceType);
            command.hasElement = open->lpstrElementName != nullptr;
            if (command.hasElement)
                command.element = open->lpstrElementName;
            result = openError;
            if (result == 0) {
                open->wDeviceID = openedId;
                closed = false;
            }
            break;
        }
        case MCI_CLOSE:
            if (result == 0)
                closed = true;
            break;
        case MCI_SET: {
            auto* set = static_cast<MCI_SET_PARMS*>(parameters);
            command.newTimeFormat = set->dwTimeFormat;
            if (result == 0 && (flags & MCI_SET_TIME_FORMAT))
                format = set->dwTimeFormat;
            break;
        }
        case MCI_PLAY: {
            auto* play = static_cast<MCI_PLAY_PARMS*>(parameters);
            command.from = play->dwFrom;
            command.to = play->dwTo;
            break;
        }
        case MCI_SEEK:
            command.to = static_cast<MCI_SEEK_PARMS*>(parameters)->dwTo;
            break;
        case MCI_STATUS: {
            auto* query = static_cast<MCI_STATUS_PARMS*>(parameters);
            command.item = query->dwItem;
            command.track = query->dwTrack;
            auto answer = status.find({query->dwItem, (flags & MCI_TRACK) ? query->dwTrack : 0});
            if (result == 0 && answer == status.end())
                result = MCIERR_UNSUPPORTED_FUNCTION;
            else if (result == 0)
                query->dwReturn = answer->second;
            break;
        }
        case MCI_INFO: {
            auto* query = static_cast<MCI_INFO_PARMSA*>(parameters);
            command.returnSize = query->dwRetSize;
            auto answer = info.find(flags);
            if (result == 0 && answer == info.end())
                result = MCIERR_UNSUPPORTED_FUNCTION;
            else if (result == 0)
                lstrcpynA(query->lpstrReturn, answer->second.c_str(), query->dwRetSize);
            break;
        }
        default:
            break;
        }
        sent.push_back(command);
        return result;
    }
};
