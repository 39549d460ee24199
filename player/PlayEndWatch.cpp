#include "PlayEndWatch.h"

#include "CdAudioDevice.h"

namespace {

const long FramesPerSecond = 75;
// A drive may stop a few frames short of the end it was given, or report
// its position a little late: within a second of the end counts as the end.
const long EndTolerance = FramesPerSecond;

}  // namespace

PlayEndWatch::PlayEndWatch(CdAudioDevice& cdDevice)
    : device(cdDevice), watching(false), endTrack(0), introSeconds(-1), endSeen(false), endSeenAt(0),
      silentDevice(false)
{
}

void PlayEndWatch::WatchTrack(int track)
{
    Start(track, -1);
}

void PlayEndWatch::WatchIntro(int track, int seconds)
{
    Start(track, seconds);
}

void PlayEndWatch::WatchToDiscEnd()
{
    Start(0, -1);
}

void PlayEndWatch::Start(int track, int seconds)
{
    endTrack = track;
    introSeconds = seconds;
    endSeen = false;
    watching = true;
    if (device.notifyWindow)  // without a window the timer would be the thread's, under another id
        SetTimer(device.notifyWindow, PlayEndTimerId, IntervalMs, nullptr);
}

void PlayEndWatch::Cancel()
{
    if (!watching)
        return;
    watching = false;
    KillTimer(device.notifyWindow, PlayEndTimerId);
}

void PlayEndWatch::ForgetDevice()
{
    Cancel();
    silentDevice = false;
}

DWORD PlayEndWatch::GraceMs() const
{
    return silentDevice ? 0 : FirstGraceMs;
}

bool PlayEndWatch::TakeNotification()
{
    if (!watching || device.GetMode() == CdModePlaying)
        return false;
    Cancel();
    return true;
}

bool PlayEndWatch::CheckEnd()
{
    if (!watching) {
        KillTimer(device.notifyWindow, PlayEndTimerId);
        return false;
    }
    int mode = device.GetMode();
    if (mode == CdModePlaying || mode == CdModeSeeking)
        return false;
    if (mode != CdModeStopped || !StoppedAtEnd()) {
        Cancel();  // stopped elsewhere, door open, disc gone: no end to act on
        return false;
    }
    DWORD now = GetTickCount();
    if (!endSeen) {
        endSeen = true;
        endSeenAt = now;
    }
    if (now - endSeenAt < GraceMs())
        return false;
    silentDevice = true;
    Cancel();
    return true;
}

bool PlayEndWatch::StoppedAtEnd()
{
    long position = device.GetPosition();
    long end = EndFrame();
    return position >= 0 && end >= 0 && MsfToFrames(static_cast<DWORD>(position)) >= end - EndTolerance;
}

// The absolute frame where the watched play was asked to end, or -1.
long PlayEndWatch::EndFrame()
{
    int count = device.GetTrackCount();
    int track = endTrack > 0 ? endTrack : count;
    if (track < 1)
        return -1;
    long start = device.GetTrackStart(track);
    if (start < 0)
        return -1;
    long startFrame = MsfToFrames(static_cast<DWORD>(start));
    if (introSeconds >= 0)
        return startFrame + introSeconds * FramesPerSecond;
    long length = device.GetTrackLength(track);
    if (length < 0)
        return -1;
    long endFrame = startFrame + MsfToFrames(static_cast<DWORD>(length));
    // A single track's play stops one second before its end (PlayTracks).
    return track < count ? endFrame - FramesPerSecond : endFrame;
}
