#pragma once

#include <windows.h>

class CdAudioDevice;

// The timer of the device's notify window that PlayEndWatch runs.
const UINT_PTR PlayEndTimerId = 1;

// Some CD audio drivers never report that a play has reached its end (Wine's
// among them); others may lose a report. While a notified play runs, this
// looks at the device about once a second; when the device has stopped at the
// end that was asked for and no notification came within a grace time, it
// tells its owner to act as on MCI_NOTIFY_SUCCESSFUL. A stopped or paused
// player runs no timer.
//
// It also decides which of the two reports counts: each play ends once,
// through the notification or through the watch, whichever comes first.
class PlayEndWatch {
public:
    explicit PlayEndWatch(CdAudioDevice& device);

    // A notified play was started: to the end of a track (one second short,
    // or the disc's end for the last track), the first seconds of a track
    // (intro), or from where the drive stands to the end of the disc (resume).
    void WatchTrack(int track);
    void WatchIntro(int track, int seconds);
    void WatchToDiscEnd();
    // The play was stopped, paused or ended otherwise: no more checks.
    void Cancel();
    // Another drive was chosen: what was learnt about the old one is forgotten.
    void ForgetDevice();

    // MCI_NOTIFY_SUCCESSFUL arrived: true when it ends the watched play, that
    // is when the drive has stopped at that play's end. Any other (one queued
    // behind a play started anew, which may still seek) is stale.
    bool TakeNotification();
    // The timer fired: true when the watched play has ended in silence and
    // the owner should now act on its end. A drive that gives no answer, or
    // says "not ready", is asked again at the next look.
    bool CheckEnd();

    bool Watching() const { return watching; }
    // Milliseconds a play's end waits for its notification before the watch acts.
    DWORD GraceMs() const;

    static constexpr UINT IntervalMs = 1000;
    static constexpr DWORD FirstGraceMs = 2000;

private:
    void Start(int track, int introSeconds);
    int EndReached();
    long EndFrame();

    CdAudioDevice& device;
    bool watching;
    int endTrack;      // 0: the end of the disc
    int introSeconds;  // -1: the whole track
    bool endSeen;      // the device has been seen stopped at the end
    DWORD endSeenAt;   // tick count of that first sight
    bool silentDevice; // a play on this device has ended without notification
};
