#include "VirtualDrive.h"

VirtualDrive::VirtualDrive(char driveLetter) : letter(driveLetter)
{
}

void VirtualDrive::Load(const std::string& newIdentity, bool hasMedia, bool door, const std::string& tracks,
                        const std::string& newUpc, double now)
{
    upc = newUpc;
    if (newIdentity == identity)
        return;
    Settle(now);
    if (playing)
        Stop(now);
    identity = newIdentity;
    media = hasMedia;
    doorOpen = door;
    disc.Parse(tracks);
    position = Disc::kLeadIn;
}

void VirtualDrive::SetSpeed(int factor, double now)
{
    if (factor < 1)
        factor = 1;
    if (factor == speed)
        return;
    if (playing) {
        // Go on from where the play is now at the new pace.
        playFrom = Position(now);
        playStart = now;
    }
    speed = factor;
}

int VirtualDrive::Position(double now) const
{
    if (!playing)
        return position;
    double frames = (now - playStart) * speed * Disc::kFramesPerSecond;
    if (frames >= playTo - playFrom)
        return playTo;
    return playFrom + static_cast<int>(frames);
}

double VirtualDrive::Deadline() const
{
    if (!playing)
        return -1;
    return playStart + static_cast<double>(playTo - playFrom) / (speed * Disc::kFramesPerSecond);
}

void VirtualDrive::Settle(double now)
{
    if (!playing || now < Deadline())
        return;
    playing = false;
    position = playTo;
    if (noticePending && endNotify)
        Notify(MCI_NOTIFY_SUCCESSFUL);
}

void VirtualDrive::Play(int from, int to, double now, HWND window, MCIDEVICEID device)
{
    if (noticePending)
        Notify(MCI_NOTIFY_SUPERSEDED);
    playing = true;
    playFrom = from;
    playTo = to;
    playStart = now;
    position = from;
    if (window) {
        noticeWindow = window;
        noticeDevice = device;
        noticePending = true;
    }
    Settle(now);
}

void VirtualDrive::Stop(double now)
{
    if (playing) {
        position = Position(now);
        playing = false;
    }
    if (noticePending)
        Notify(MCI_NOTIFY_ABORTED);
}

void VirtualDrive::Seek(int frame, double now)
{
    Stop(now);
    position = frame;
}

void VirtualDrive::AbortNotice(MCIDEVICEID device)
{
    if (noticePending && noticeDevice == device)
        Notify(MCI_NOTIFY_ABORTED);
}

void VirtualDrive::Notify(UINT status)
{
    noticePending = false;
    mciDriverNotify(noticeWindow, noticeDevice, status);
}
