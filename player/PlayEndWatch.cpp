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

// Judged as the timer judges: a notification queued behind a new play that
// still seeks, or one for a play stopped elsewhere, ends nothing.
bool PlayEndWatch::TakeNotification()
{
    if (!watching || device.GetMode() != CdModeStopped || EndReached() != 1)
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
    // Still under way, or no answer this time (a drive may say "not ready"
    // for a moment): asked again at the next look.
    if (mode == CdModePlaying || mode == CdModeSeeking || mode == CdModeUnknown || mode == CdModeNotReady)
        return false;
    int reached = mode == CdModeStopped ? EndReached() : 0;
    if (reached < 0)
        return false;
    if (reached == 0) {
        Cancel();  // stopped elsewhere or door open: no end to act on
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

// 1 when the drive stands at the end of the watched play, 0 when elsewhere,
// -1 when it gave no answer.
int PlayEndWatch::EndReached()
{
    long position = device.GetPosition();
    long end = EndFrame();
    if (position < 0 || end < 0)
        return -1;
    return MsfToFrames(static_cast<DWORD>(position)) >= end - EndTolerance ? 1 : 0;
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
