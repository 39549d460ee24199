#include "CdDevice.h"

#include "DriveBay.h"

#include <mmddk.h>

#include <stdio.h>

namespace {

const int kFramesPerMinute = 60 * Disc::kFramesPerSecond;

const char* CommandName(UINT message)
{
    switch (message) {
    case MCI_PLAY:
        return "PLAY";
    case MCI_SEEK:
        return "SEEK";
    case MCI_STOP:
        return "STOP";
    case MCI_SET:
        return "SET";
    case MCI_STATUS:
        return "STATUS";
    case MCI_INFO:
        return "INFO";
    case MCI_GETDEVCAPS:
        return "GETDEVCAPS";
    case MCI_PAUSE:
        return "PAUSE";
    case MCI_RESUME:
        return "RESUME";
    default:
        return "COMMAND";
    }
}

std::string Narrow(LPCWSTR text)
{
    if (!text)
        return std::string();
    char buffer[MAX_PATH];
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return n > 0 ? std::string(buffer) : std::string();
}

DWORD Truth(bool value)
{
    return MAKEMCIRESOURCE(value ? TRUE : FALSE, value ? MCI_TRUE : MCI_FALSE);
}

bool KnownFormat(DWORD format)
{
    return format == MCI_FORMAT_MSF || format == MCI_FORMAT_TMSF || format == MCI_FORMAT_MILLISECONDS;
}

} // namespace

CdDevice::CdDevice(MCIDEVICEID deviceId) : id(deviceId)
{
}

DWORD CdDevice::Open(DWORD flags, const MCI_OPEN_PARMSW* parms)
{
    BayLock hold;
    double now = DriveBay::Now();
    bay.Refresh(now);

    DWORD result = 0;
    char chosen = 0;
    std::string element;
    if (!parms) {
        result = MCIERR_NULL_PARAMETER_BLOCK;
    } else if (flags & MCI_OPEN_ELEMENT) {
        element = (flags & MCI_OPEN_ELEMENT_ID) ? std::string() : Narrow(parms->lpstrElementName);
        // "E:", also "E" or "E:\..." as real drivers take them.
        if ((flags & MCI_OPEN_ELEMENT_ID) || element.empty() || !isalpha(static_cast<unsigned char>(element[0])) ||
            (element.size() > 1 && element[1] != ':'))
            result = MCIERR_INVALID_FILE;
        else if (!bay.IsDrive(element[0]))
            result = MCIERR_INVALID_FILE;
        else
            chosen = static_cast<char>(toupper(static_cast<unsigned char>(element[0])));
    } else {
        chosen = bay.DefaultDrive();
        if (!chosen)
            result = MCIERR_CANNOT_LOAD_DRIVER;
    }

    CommandLog log(chosen, "OPEN", flags);
    if (parms && (flags & MCI_OPEN_ELEMENT))
        log.Add("element", element.c_str());
    if (parms && (flags & MCI_OPEN_TYPE)) {
        if (flags & MCI_OPEN_TYPE_ID)
            log.AddNumber("type", LOWORD(reinterpret_cast<DWORD_PTR>(parms->lpstrDeviceType)));
        else
            log.Add("type", Narrow(parms->lpstrDeviceType).c_str());
    }
    if (result == 0) {
        letter = chosen;
        timeFormat = MCI_FORMAT_MSF;
        bay.Drive(letter, now).AddUser();
        if (flags & MCI_NOTIFY)
            mciDriverNotify(reinterpret_cast<HANDLE>(parms->dwCallback), id, MCI_NOTIFY_SUCCESSFUL);
    }
    log.Finish(result);
    return result;
}

DWORD CdDevice::Close(DWORD flags)
{
    BayLock hold;
    CommandLog log(letter, "CLOSE", flags);
    if (letter) {
        double now = DriveBay::Now();
        bay.Refresh(now);
        VirtualDrive& drive = bay.Drive(letter, now);
        drive.Settle(now);
        drive.AbortNotice(id);
        if (drive.RemoveUser())
            drive.Stop(now);
        letter = 0;
    }
    log.Finish(0);
    return 0;
}

DWORD CdDevice::Command(UINT message, DWORD flags, DWORD_PTR parms)
{
    if (!letter)
        return MCIERR_INVALID_DEVICE_ID;
    DWORD result;
    VirtualDrive* played = nullptr;
    {
        BayLock hold;
        double now = DriveBay::Now();
        bay.Refresh(now);
        VirtualDrive& drive = bay.Drive(letter, now);
        drive.Settle(now);
        CommandLog log(letter, CommandName(message), flags);
        result = Dispatch(message, flags, parms, drive, now, log);
        log.Finish(LOWORD(result));
        if (LOWORD(result) == 0 && message == MCI_PLAY && (flags & MCI_WAIT))
            played = &drive;
        if (LOWORD(result) == 0 && message != MCI_PLAY && (flags & MCI_NOTIFY) && parms) {
            HANDLE window = reinterpret_cast<HANDLE>(reinterpret_cast<MCI_GENERIC_PARMS*>(parms)->dwCallback);
            mciDriverNotify(window, id, MCI_NOTIFY_SUCCESSFUL);
        }
    }
    if (played)
        WaitForPlay(*played);
    return result;
}

DWORD CdDevice::Dispatch(UINT message, DWORD flags, DWORD_PTR parms, VirtualDrive& drive, double now,
                         CommandLog& log)
{
    // Stop, and a seek or door change without positions, may come without a
    // parameter block.
    bool needsBlock = message == MCI_PLAY || message == MCI_STATUS || message == MCI_INFO ||
                      message == MCI_GETDEVCAPS || (message == MCI_SEEK && (flags & MCI_TO)) ||
                      (message == MCI_SET && (flags & MCI_SET_TIME_FORMAT));
    if (needsBlock && !parms)
        return MCIERR_NULL_PARAMETER_BLOCK;
    switch (message) {
    case MCI_PLAY:
        return Play(flags, reinterpret_cast<MCI_PLAY_PARMS*>(parms), drive, now, log);
    case MCI_SEEK:
        return Seek(flags, reinterpret_cast<MCI_SEEK_PARMS*>(parms), drive, now, log);
    case MCI_STOP:
        return Stop(drive, now);
    case MCI_SET:
        return Set(flags, reinterpret_cast<MCI_SET_PARMS*>(parms), now, log);
    case MCI_STATUS:
        return Status(flags, reinterpret_cast<MCI_STATUS_PARMS*>(parms), drive, now, log);
    case MCI_INFO:
        return Info(flags, reinterpret_cast<MCI_INFO_PARMSW*>(parms), drive, log);
    case MCI_GETDEVCAPS:
        return Capabilities(flags, reinterpret_cast<MCI_GETDEVCAPS_PARMS*>(parms), log);
    default:
        log.AddHex("message", message);
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

DWORD CdDevice::Play(DWORD flags, const MCI_PLAY_PARMS* parms, VirtualDrive& drive, double now, CommandLog& log)
{
    if (flags & MCI_FROM)
        log.AddHex("from", parms->dwFrom);
    if (flags & MCI_TO)
        log.AddHex("to", parms->dwTo);
    if (!drive.HasDisc())
        return MCIERR_DEVICE_NOT_READY;
    const Disc& disc = drive.GetDisc();
    int from = drive.Position(now);
    int to = disc.LeadOut();
    if (flags & MCI_FROM) {
        DWORD error = Decode(disc, parms->dwFrom, from);
        if (error)
            return error;
    }
    if (flags & MCI_TO) {
        DWORD error = Decode(disc, parms->dwTo, to);
        if (error)
            return error;
    }
    if (from > to)
        return MCIERR_OUTOFRANGE;
    if (!disc.IsAudio(disc.TrackAt(from)))
        return MCIERR_HARDWARE;
    HWND window = (flags & MCI_NOTIFY) ? reinterpret_cast<HWND>(parms->dwCallback) : nullptr;
    drive.Play(from, to, now, window, id);
    bay.PlayStarted();
    return 0;
}

void CdDevice::WaitForPlay(VirtualDrive& drive)
{
    for (;;) {
        Sleep(5);
        BayLock hold;
        double now = DriveBay::Now();
        bay.Refresh(now);
        drive.Settle(now);
        if (!drive.Playing())
            return;
    }
}

DWORD CdDevice::Seek(DWORD flags, const MCI_SEEK_PARMS* parms, VirtualDrive& drive, double now, CommandLog& log)
{
    DWORD targets = flags & (MCI_SEEK_TO_START | MCI_SEEK_TO_END | MCI_TO);
    if (flags & MCI_TO)
        log.AddHex("to", parms->dwTo);
    if (flags & MCI_SEEK_TO_START)
        log.AddWord("start");
    if (flags & MCI_SEEK_TO_END)
        log.AddWord("end");
    if (targets == 0)
        return MCIERR_MISSING_PARAMETER;
    if (targets != MCI_SEEK_TO_START && targets != MCI_SEEK_TO_END && targets != MCI_TO)
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    if (!drive.HasDisc())
        return MCIERR_DEVICE_NOT_READY;
    const Disc& disc = drive.GetDisc();
    int frame = targets == MCI_SEEK_TO_START ? disc.TrackStart(1) : disc.LeadOut();
    if (targets == MCI_TO) {
        DWORD error = Decode(disc, parms->dwTo, frame);
        if (error)
            return error;
    }
    drive.Seek(frame, now);
    return 0;
}

DWORD CdDevice::Stop(VirtualDrive& drive, double now)
{
    if (!drive.HasDisc())
        return MCIERR_DEVICE_NOT_READY;
    drive.Stop(now);
    return 0;
}

DWORD CdDevice::Set(DWORD flags, const MCI_SET_PARMS* parms, double now, CommandLog& log)
{
    if (flags & MCI_SET_TIME_FORMAT)
        log.AddNumber("timeformat", parms->dwTimeFormat);
    if (flags & MCI_SET_DOOR_OPEN)
        log.Add("door", "open");
    if (flags & MCI_SET_DOOR_CLOSED)
        log.Add("door", "closed");
    if ((flags & MCI_SET_DOOR_OPEN) && (flags & MCI_SET_DOOR_CLOSED))
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    if (flags & (MCI_SET_AUDIO | MCI_SET_VIDEO))
        return MCIERR_UNSUPPORTED_FUNCTION;
    if (!(flags & (MCI_SET_TIME_FORMAT | MCI_SET_DOOR_OPEN | MCI_SET_DOOR_CLOSED)))
        return MCIERR_MISSING_PARAMETER;
    if (flags & MCI_SET_TIME_FORMAT) {
        if (!KnownFormat(parms->dwTimeFormat))
            return MCIERR_BAD_TIME_FORMAT;
        timeFormat = parms->dwTimeFormat;
    }
    if (flags & (MCI_SET_DOOR_OPEN | MCI_SET_DOOR_CLOSED)) {
        if (!bay.WriteDoor(letter, (flags & MCI_SET_DOOR_OPEN) != 0))
            return MCIERR_HARDWARE;
        // The drive takes the door from the file, like a change made by a test.
        bay.Refresh(now);
    }
    return 0;
}

DWORD CdDevice::Status(DWORD flags, MCI_STATUS_PARMS* parms, VirtualDrive& drive, double now, CommandLog& log)
{
    if (!(flags & MCI_STATUS_ITEM))
        return MCIERR_MISSING_PARAMETER;
    char item[16];
    snprintf(item, sizeof item, "0x%lX", parms->dwItem);
    log.Add("item", item);
    if (flags & MCI_TRACK)
        log.AddNumber("track", parms->dwTrack);

    switch (parms->dwItem) {
    case MCI_STATUS_MODE: {
        WORD mode = drive.DoorOpen()    ? MCI_MODE_OPEN
                    : !drive.HasDisc()  ? MCI_MODE_NOT_READY
                    : drive.Playing()   ? MCI_MODE_PLAY
                                        : MCI_MODE_STOP;
        parms->dwReturn = MAKEMCIRESOURCE(mode, mode);
        return MCI_RESOURCE_RETURNED;
    }
    case MCI_STATUS_MEDIA_PRESENT:
    case MCI_STATUS_READY:
        parms->dwReturn = Truth(drive.HasDisc());
        return MCI_RESOURCE_RETURNED;
    case MCI_STATUS_TIME_FORMAT:
        parms->dwReturn = MAKEMCIRESOURCE(timeFormat, timeFormat + MCI_FORMAT_RETURN_BASE);
        return MCI_RESOURCE_RETURNED;
    default:
        if (!drive.HasDisc())
            return MCIERR_DEVICE_NOT_READY;
        return DiscStatus(flags, parms, drive, now);
    }
}

DWORD CdDevice::DiscStatus(DWORD flags, MCI_STATUS_PARMS* parms, VirtualDrive& drive, double now)
{
    const Disc& disc = drive.GetDisc();
    bool withTrack = (flags & MCI_TRACK) != 0;
    int track = static_cast<int>(parms->dwTrack);
    if (withTrack && !disc.HasTrack(track))
        return MCIERR_OUTOFRANGE;

    switch (parms->dwItem) {
    case MCI_STATUS_NUMBER_OF_TRACKS:
        parms->dwReturn = disc.TrackCount();
        return 0;
    case MCI_STATUS_CURRENT_TRACK:
        parms->dwReturn = disc.TrackAt(drive.Position(now));
        return 0;
    case MCI_STATUS_POSITION:
        parms->dwReturn = Encode(disc, withTrack ? disc.TrackStart(track) : drive.Position(now));
        return ReturnKind();
    case MCI_STATUS_LENGTH: {
        int length = withTrack ? disc.TrackLength(track) : disc.LeadOut() - disc.TrackStart(1);
        if (drive.ShortLastTrack() && (!withTrack || track == disc.TrackCount()))
            --length;
        parms->dwReturn = EncodeDuration(length);
        return timeFormat == MCI_FORMAT_MILLISECONDS ? 0 : MCI_COLONIZED3_RETURN;
    }
    case MCI_CDA_STATUS_TYPE_TRACK:
        if (!withTrack)
            return MCIERR_MISSING_PARAMETER;
        parms->dwReturn = disc.IsAudio(track) ? MCI_CDA_TRACK_AUDIO : MCI_CDA_TRACK_OTHER;
        return 0;
    default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

DWORD CdDevice::Info(DWORD flags, MCI_INFO_PARMSW* parms, VirtualDrive& drive, CommandLog& log)
{
    char text[64];
    DWORD item = flags & (MCI_INFO_PRODUCT | MCI_INFO_MEDIA_IDENTITY | MCI_INFO_MEDIA_UPC);
    if (item == MCI_INFO_PRODUCT) {
        log.Add("item", "product");
        snprintf(text, sizeof text, "Virtual CD audio drive");
    } else if (item == MCI_INFO_MEDIA_IDENTITY) {
        log.Add("item", "identity");
        if (!drive.HasDisc())
            return MCIERR_DEVICE_NOT_READY;
        snprintf(text, sizeof text, "%lu", drive.GetDisc().Identity());
    } else if (item == MCI_INFO_MEDIA_UPC) {
        log.Add("item", "upc");
        if (!drive.HasDisc())
            return MCIERR_DEVICE_NOT_READY;
        if (drive.Upc().empty())
            return MCIERR_NO_IDENTITY;
        snprintf(text, sizeof text, "%s", drive.Upc().c_str());
    } else {
        return item ? MCIERR_FLAGS_NOT_COMPATIBLE : MCIERR_MISSING_PARAMETER;
    }
    if (!parms->lpstrReturn || parms->dwRetSize == 0)
        return MCIERR_PARAM_OVERFLOW;
    DWORD i = 0;
    for (; text[i] && i + 1 < parms->dwRetSize; i++)
        parms->lpstrReturn[i] = static_cast<unsigned char>(text[i]);
    parms->lpstrReturn[i] = L'\0';
    return text[i] ? MCIERR_PARAM_OVERFLOW : 0;
}

DWORD CdDevice::Capabilities(DWORD flags, MCI_GETDEVCAPS_PARMS* parms, CommandLog& log)
{
    if (!(flags & MCI_GETDEVCAPS_ITEM))
        return MCIERR_MISSING_PARAMETER;
    char item[16];
    snprintf(item, sizeof item, "0x%lX", parms->dwItem);
    log.Add("item", item);
    switch (parms->dwItem) {
    case MCI_GETDEVCAPS_DEVICE_TYPE:
        parms->dwReturn = MAKEMCIRESOURCE(MCI_DEVTYPE_CD_AUDIO, MCI_DEVTYPE_CD_AUDIO);
        return MCI_RESOURCE_RETURNED;
    case MCI_GETDEVCAPS_HAS_AUDIO:
    case MCI_GETDEVCAPS_CAN_EJECT:
    case MCI_GETDEVCAPS_CAN_PLAY:
        parms->dwReturn = Truth(true);
        return MCI_RESOURCE_RETURNED;
    case MCI_GETDEVCAPS_CAN_RECORD:
    case MCI_GETDEVCAPS_HAS_VIDEO:
    case MCI_GETDEVCAPS_USES_FILES:
    case MCI_GETDEVCAPS_COMPOUND_DEVICE:
    case MCI_GETDEVCAPS_CAN_SAVE:
        parms->dwReturn = Truth(false);
        return MCI_RESOURCE_RETURNED;
    default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

DWORD CdDevice::Encode(const Disc& disc, int frame) const
{
    switch (timeFormat) {
    case MCI_FORMAT_TMSF: {
        int track = disc.TrackAt(frame);
        int offset = frame - disc.TrackStart(track);
        return MCI_MAKE_TMSF(track, offset / kFramesPerMinute, offset / Disc::kFramesPerSecond % 60,
                             offset % Disc::kFramesPerSecond);
    }
    case MCI_FORMAT_MILLISECONDS:
        return static_cast<DWORD>(static_cast<long long>(frame) * 1000 / Disc::kFramesPerSecond);
    default:
        return EncodeDuration(frame);
    }
}

DWORD CdDevice::EncodeDuration(int frames) const
{
    if (timeFormat == MCI_FORMAT_MILLISECONDS)
        return static_cast<DWORD>(static_cast<long long>(frames) * 1000 / Disc::kFramesPerSecond);
    return MCI_MAKE_MSF(frames / kFramesPerMinute, frames / Disc::kFramesPerSecond % 60,
                        frames % Disc::kFramesPerSecond);
}

DWORD CdDevice::ReturnKind() const
{
    switch (timeFormat) {
    case MCI_FORMAT_TMSF:
        return MCI_COLONIZED4_RETURN;
    case MCI_FORMAT_MSF:
        return MCI_COLONIZED3_RETURN;
    default:
        return 0;
    }
}

DWORD CdDevice::Decode(const Disc& disc, DWORD value, int& frame) const
{
    int base = 0;
    int minutes, seconds, frames;
    switch (timeFormat) {
    case MCI_FORMAT_TMSF:
        if (!disc.HasTrack(MCI_TMSF_TRACK(value)))
            return MCIERR_OUTOFRANGE;
        base = disc.TrackStart(MCI_TMSF_TRACK(value));
        minutes = MCI_TMSF_MINUTE(value);
        seconds = MCI_TMSF_SECOND(value);
        frames = MCI_TMSF_FRAME(value);
        break;
    case MCI_FORMAT_MSF:
        minutes = MCI_MSF_MINUTE(value);
        seconds = MCI_MSF_SECOND(value);
        frames = MCI_MSF_FRAME(value);
        break;
    default:
        if (value > 100u * 60u * 1000u)
            return MCIERR_OUTOFRANGE;
        minutes = 0;
        seconds = 0;
        frames = static_cast<int>(static_cast<long long>(value) * Disc::kFramesPerSecond / 1000);
        break;
    }
    if (timeFormat != MCI_FORMAT_MILLISECONDS && (seconds > 59 || frames >= Disc::kFramesPerSecond))
        return MCIERR_OUTOFRANGE;
    frame = base + minutes * kFramesPerMinute + seconds * Disc::kFramesPerSecond + frames;
    if (frame < disc.TrackStart(1) || frame > disc.LeadOut())
        return MCIERR_OUTOFRANGE;
    return 0;
}
