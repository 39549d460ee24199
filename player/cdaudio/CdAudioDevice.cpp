#include "CdAudioDevice.h"

#include "Text.h"

namespace {

const DWORD StatusFlags = MCI_STATUS_ITEM | MCI_WAIT;
const DWORD TrackStatusFlags = MCI_STATUS_ITEM | MCI_TRACK | MCI_WAIT;
const DWORD TrackTypeItem = 0x4001;  // MCI_CDA_STATUS_TYPE_TRACK
const DWORD AudioTrack = 1088;       // MCI_CDA_TRACK_AUDIO
const size_t InfoCapacity = 16;

// Leading white space, an optional sign, then decimal digits up to the first
// other character. digits counts the digits read; the value wraps modulo 2^32.
DWORD ParseDecimal(const char* text, int* digits, bool* fitsLong)
{
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\v' || *text == '\f')
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    DWORD value = 0;
    unsigned long long magnitude = 0;
    *digits = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + static_cast<DWORD>(*text - '0');
        if (magnitude <= 0xFFFFFFFFull)
            magnitude = magnitude * 10 + static_cast<unsigned>(*text - '0');
        ++*digits;
    }
    *fitsLong = magnitude <= (negative ? 0x80000000ull : 0x7FFFFFFFull);
    return negative ? 0u - value : value;
}

}  // namespace

CdAudioDevice::CdAudioDevice() : deviceId(0), notifyWindow(nullptr) {}

CdAudioDevice::~CdAudioDevice()
{
    CdAudioDevice::Release();
}

// Leaving the player stops a running playback and gives the drive back.
void CdAudioDevice::Release()
{
    if (deviceId == 0)
        return;  // never opened: nothing to stop
    Stop();
    Seek(0, 0, 0, 0);
    Close();
    deviceId = 0;
}

MCIERROR CdAudioDevice::SendCommand(UINT message, DWORD flags, void* parameters)
{
    return mciSendCommandA(deviceId, message, flags, reinterpret_cast<DWORD_PTR>(parameters));
}

bool CdAudioDevice::Open(int drive)
{
    char element[3] = {};
    MCI_OPEN_PARMSA parameters = {};
    parameters.lpstrDeviceType = reinterpret_cast<LPCSTR>(static_cast<DWORD_PTR>(MCI_DEVTYPE_CD_AUDIO));
    DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_SHAREABLE;
    if (drive != -1) {
        element[0] = static_cast<char>('A' + drive);
        element[1] = ':';
        parameters.lpstrElementName = element;
        flags |= MCI_OPEN_ELEMENT;
    }
    if (SendCommand(MCI_OPEN, flags, &parameters) != 0)
        return false;
    deviceId = parameters.wDeviceID;
    return SetTimeFormat(MCI_FORMAT_TMSF);
}

bool CdAudioDevice::Close()
{
    MCI_GENERIC_PARMS parameters = {};
    return SendCommand(MCI_CLOSE, MCI_WAIT, &parameters) == 0;
}

bool CdAudioDevice::SetTimeFormat(DWORD format)
{
    MCI_SET_PARMS parameters = {};
    parameters.dwTimeFormat = format;
    return SendCommand(MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &parameters) == 0;
}

bool CdAudioDevice::Play(bool notify)
{
    MCI_PLAY_PARMS parameters = {};
    parameters.dwCallback = reinterpret_cast<DWORD_PTR>(notifyWindow);
    return SendCommand(MCI_PLAY, notify ? MCI_NOTIFY : 0, &parameters) == 0;
}

// Plays from the start of first to one second before the end of last, or to
// the end of the disc when last is the final track.
bool CdAudioDevice::PlayTracks(int first, int last, bool notify)
{
    long length = GetTrackLength(last);
    int minutes = MsfMinutes(length);
    int seconds = MsfSeconds(length);
    if (seconds > 0) {
        --seconds;
    } else if (minutes > 0) {
        --minutes;
        seconds = 59;
    }
    MCI_PLAY_PARMS parameters = {};
    parameters.dwCallback = reinterpret_cast<DWORD_PTR>(notifyWindow);
    parameters.dwFrom = MakeTmsf(first, 0, 0, 0);
    parameters.dwTo = MakeTmsf(last, minutes, seconds, MsfFrames(length));
    DWORD flags = MCI_FROM;
    if (last < GetTrackCount())
        flags |= MCI_TO;
    if (notify)
        flags |= MCI_NOTIFY;
    return SendCommand(MCI_PLAY, flags, &parameters) == 0;
}

bool CdAudioDevice::PlayRange(DWORD fromTmsf, DWORD toTmsf, bool notify)
{
    MCI_PLAY_PARMS parameters = {};
    parameters.dwCallback = reinterpret_cast<DWORD_PTR>(notifyWindow);
    parameters.dwFrom = fromTmsf;
    parameters.dwTo = toTmsf;
    return SendCommand(MCI_PLAY, MCI_FROM | MCI_TO | (notify ? MCI_NOTIFY : 0), &parameters) == 0;
}

bool CdAudioDevice::Stop()
{
    MCI_GENERIC_PARMS parameters = {};
    return SendCommand(MCI_STOP, MCI_WAIT, &parameters) == 0;
}

bool CdAudioDevice::Seek(int track, int minute, int second, int frame)
{
    MCI_SEEK_PARMS parameters = {};
    if (track == 0)
        return SendCommand(MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, &parameters) == 0;
    parameters.dwTo = MakeTmsf(track, minute, second, frame);
    return SendCommand(MCI_SEEK, MCI_TO | MCI_WAIT, &parameters) == 0;
}

bool CdAudioDevice::OpenDoor()
{
    MCI_SET_PARMS parameters = {};
    return SendCommand(MCI_SET, MCI_SET_DOOR_OPEN, &parameters) == 0;
}

bool CdAudioDevice::CloseDoor()
{
    MCI_SET_PARMS parameters = {};
    return SendCommand(MCI_SET, MCI_SET_DOOR_CLOSED, &parameters) == 0;
}

long CdAudioDevice::QueryStatus(DWORD flags, DWORD item, DWORD track)
{
    MCI_STATUS_PARMS parameters = {};
    parameters.dwItem = item;
    parameters.dwTrack = track;
    if (SendCommand(MCI_STATUS, flags, &parameters) != 0)
        return -1;
    return static_cast<long>(parameters.dwReturn);
}

// The device's standing format is TMSF; positions and lengths are asked in MSF.
long CdAudioDevice::QueryMsf(DWORD flags, DWORD item, DWORD track)
{
    SetTimeFormat(MCI_FORMAT_MSF);
    long result = QueryStatus(flags, item, track);
    SetTimeFormat(MCI_FORMAT_TMSF);
    return result;
}

// Mode, truth values and track types may come back as resource values
// (MAKEMCIRESOURCE); the value itself is the low word.
bool CdAudioDevice::IsMediaPresent()
{
    long answer = QueryStatus(StatusFlags, MCI_STATUS_MEDIA_PRESENT, 0);
    return answer != -1 && LOWORD(answer) != 0;
}

int CdAudioDevice::GetMode()
{
    long answer = QueryStatus(StatusFlags, MCI_STATUS_MODE, 0);
    return answer == -1 ? -1 : LOWORD(answer);
}

int CdAudioDevice::GetTrackCount()
{
    return QueryStatus(StatusFlags, MCI_STATUS_NUMBER_OF_TRACKS, 0);
}

int CdAudioDevice::GetCurrentTrack()
{
    return QueryStatus(StatusFlags, MCI_STATUS_CURRENT_TRACK, 0);
}

long CdAudioDevice::GetPosition()
{
    return QueryMsf(StatusFlags, MCI_STATUS_POSITION, 0);
}

long CdAudioDevice::GetTrackStart(int track)
{
    return QueryMsf(TrackStatusFlags, MCI_STATUS_POSITION, track);
}

long CdAudioDevice::GetTrackLength(int track)
{
    return QueryMsf(TrackStatusFlags, MCI_STATUS_LENGTH, track);
}

long CdAudioDevice::GetDiscLength()
{
    return QueryMsf(StatusFlags, MCI_STATUS_LENGTH, 0);
}

bool CdAudioDevice::IsAudioTrack(int track)
{
    long answer = QueryStatus(MCI_STATUS_ITEM | MCI_TRACK, TrackTypeItem, track);
    return answer != -1 && LOWORD(answer) == AudioTrack;
}

// A disc of several tracks counts as audio without asking further; only a
// single track is checked.
bool CdAudioDevice::IsAudioDisc()
{
    if (GetTrackCount() > 1)
        return true;
    return IsAudioTrack(1);
}

int CdAudioDevice::GetTrackElapsedSeconds()
{
    long position = GetPosition();
    long track = GetCurrentTrack();
    long start = GetTrackStart(track);
    if (position < 0 || track < 0 || start < 0)
        return -1;
    return (MsfMinutes(position) - MsfMinutes(start)) * 60 + (MsfSeconds(position) - MsfSeconds(start));
}

bool CdAudioDevice::QueryInfo(DWORD item, char* answer, size_t capacity)
{
    MCI_INFO_PARMSA parameters = {};
    parameters.lpstrReturn = answer;
    parameters.dwRetSize = static_cast<DWORD>(capacity);
    answer[0] = '\0';
    if (SendCommand(MCI_INFO, item, &parameters) != 0)
        return false;
    answer[capacity - 1] = '\0';
    return true;
}

// The disc ID is the decimal media identity as 32-bit upper-case hex. When
// the device gives no number the text stays empty, which callers can still
// use as a section name and show.
void CdAudioDevice::GetDiscId(char* text, size_t capacity)
{
    char answer[InfoCapacity];
    char id[InfoCapacity] = {};
    int digits = 0;
    bool fits = false;
    if (QueryInfo(MCI_INFO_MEDIA_IDENTITY, answer, sizeof answer)) {
        DWORD identity = ParseDecimal(answer, &digits, &fits);
        if (digits > 0)
            FormatText(id, sizeof id, "%lX", static_cast<unsigned long>(identity));
    }
    CopyText(text, capacity, id);
}

// A UPC has 12 or 13 digits and rarely fits a long. Rather than a wrapped,
// wrong number, such a UPC gives -1 here; GetUpcText has all its digits.
long CdAudioDevice::GetUpc()
{
    char answer[InfoCapacity];
    if (!QueryInfo(MCI_INFO_MEDIA_UPC, answer, sizeof answer))
        return -1;
    int digits = 0;
    bool fits = false;
    DWORD value = ParseDecimal(answer, &digits, &fits);
    if (digits == 0 || !fits)
        return -1;
    return static_cast<long>(value);
}

bool CdAudioDevice::GetUpcText(char* text, size_t capacity)
{
    char answer[InfoCapacity];
    char digits[InfoCapacity] = {};
    if (QueryInfo(MCI_INFO_MEDIA_UPC, answer, sizeof answer)) {
        const char* p = answer;
        while (*p == ' ' || *p == '\t')
            ++p;
        size_t n = 0;
        for (; p[n] >= '0' && p[n] <= '9'; ++n)
            digits[n] = p[n];
    }
    CopyText(text, capacity, digits);
    return digits[0] != '\0';
}

void CdAudioDevice::SetNotifyWindow(HWND window)
{
    notifyWindow = window;
}
