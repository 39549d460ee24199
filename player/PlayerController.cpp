#include "PlayerController.h"

#include "CdDrives.h"
#include "PlayerApplication.h"
#include "Text.h"
#include "resource.h"

#include <dbt.h>
#include <stdlib.h>

namespace {

const DWORD TrackChangeDelayMs = 50;  // lets a running play settle before the stop

}  // namespace

int ChooseRandomTrack(int trackCount, int draw)
{
    if (trackCount == 0)
        return 0;
    return trackCount > 0 ? draw % trackCount + 1 : 1;
}

void FormatSoundCommand(const char* path, char* command, size_t capacity)
{
    FormatText(command, capacity, "play \"%s\" wait", path);
}

PlayerController::PlayerController(PlayerApplication& owner)
    : sendString(mciSendStringA), playEndWatch(owner.cdDevice), app(owner)
{
}

LRESULT PlayerController::OnCommand(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDM_PLAY:
        PlayPause();
        return 0;
    case IDM_STOP:
        StopPlay();
        return 0;
    case IDM_BACK:
        PreviousTrack();
        return 0;
    case IDM_NEXT:
        NextTrack();
        return 0;
    case IDM_EJECT:
        EjectDisc();
        return 0;
    case IDM_ABOUT:
        app.ShowAboutDialog();
        return 0;
    case IDM_EXIT:
        app.window.PostMessage(WM_CLOSE, 0, 0);
        return 0;
    case IDM_LOAD:
        app.cdDevice.CloseDoor();
        return 0;
    case IDM_CDVOLUME:
        app.ShowVolumeDialog();
        return 0;
    case IDM_MMPROPERTIES:
        app.LaunchMultimediaProperties();
        return 0;
    case IDM_VOLUMECONTROL:
        app.LaunchVolumeControl();
        return 0;
    case IDM_CONFIG:
        app.LaunchConfigProgram();
        return 0;
    case IDM_CDINFO:
        app.ShowCdInfo();
        return 0;
    case IDM_EDITTITLES:
        app.ShowTitleEditor();
        return 0;
    case IDM_REPEATALL:
    case IDM_REPEATONE:
    case IDM_RANDOM:
    case IDM_INTRO:
        ToggleMode(LOWORD(wParam) - IDM_REPEATALL);
        return 0;
    }
    if (wParam >= IDM_DEFAULTDRIVE)
        SelectDrive(wParam);
    else
        SelectTrack(wParam);
    return 0;
}

bool PlayerController::PlayTrack(int track)
{
    if (app.paused) {
        // Resume; the caller clears the flag.
        if (!app.cdDevice.Play(true))
            return false;
        playEndWatch.WatchToDiscEnd();
        app.mediaKeys.Hold();
        return true;
    }
    if (!PlayTrackRequest(track))
        return false;
    app.sstpNotifier.Notify();
    app.paused = FALSE;
    app.mediaKeys.Hold();
    return true;
}

bool PlayerController::PlayTrackRequest(int track)
{
    int introTime = app.settings.IntroTime;
    if ((app.playModes & IntroPlay) && introTime > 0) {
        long length = app.cdDevice.GetTrackLength(track);
        if (length >= 0) {
            DWORD msf = static_cast<DWORD>(length);
            int lengthSeconds = MsfMinutes(msf) * 60 + MsfSeconds(msf);
            if (introTime < lengthSeconds) {
                if (!app.cdDevice.PlayRange(MakeTmsf(track, 0, 0, 0),
                                            MakeTmsf(track, introTime / 60, introTime % 60, 0), true))
                    return false;
                playEndWatch.WatchIntro(track, introTime);
                return true;
            }
        }
    }
    if (!app.cdDevice.PlayTracks(track, track, true))
        return false;
    playEndWatch.WatchTrack(track);
    return true;
}

void PlayerController::PlayRandomTrack()
{
    int track = ChooseRandomTrack(app.cdDevice.GetTrackCount(), rand());
    if (track <= 0)
        return;
    if (app.paused)
        ChangeTrack(track);  // a drawn track starts at its beginning, not where the pause stopped
    else
        PlayTrack(track);
}

void PlayerController::PlayPause()
{
    switch (app.cdDevice.GetMode()) {
    case CdModeStopped:
        if (app.paused) {
            if (PlayTrack(app.cdDevice.GetCurrentTrack()))
                app.paused = FALSE;
        } else if (app.playModes & RandomPlay) {
            PlayRandomTrack();
        } else {
            PlayTrack(app.cdDevice.GetCurrentTrack());
        }
        break;
    case CdModePlaying:
        if (app.cdDevice.Stop()) {
            app.paused = TRUE;
            playEndWatch.Cancel();
        }
        break;
    }
}

void PlayerController::StopPlay()
{
    playEndWatch.Cancel();
    app.cdDevice.Stop();
    app.cdDevice.Seek(1, 0, 0, 0);
    app.paused = FALSE;
    app.mediaKeys.Release();
}

void PlayerController::PreviousTrack()
{
    if (app.playModes & RandomPlay) {
        PlayRandomTrack();
        return;
    }
    int target = app.cdDevice.GetCurrentTrack() - 1;
    if (target < 1)
        target = app.cdDevice.GetTrackCount();
    Sleep(TrackChangeDelayMs);
    ChangeTrack(target);
}

void PlayerController::NextTrack()
{
    if (app.playModes & RandomPlay) {
        PlayRandomTrack();
        return;
    }
    int target = app.cdDevice.GetCurrentTrack() + 1;
    if (target > app.cdDevice.GetTrackCount())
        target = 1;
    Sleep(TrackChangeDelayMs);
    ChangeTrack(target);
}

void PlayerController::ChangeTrack(int target)
{
    playEndWatch.Cancel();
    app.cdDevice.Stop();
    app.cdDevice.Seek(target, 0, 0, 0);
    if (app.playModes & RandomPlay) {
        StartTrack(target);
        return;
    }
    if (PlayTrack(target))
        app.paused = FALSE;
}

// In random play a track is never resumed into: resuming would run on to the
// end of the disc in order. The pause ends with the start; a start that
// fails leaves it as it was.
void PlayerController::StartTrack(int track)
{
    BOOL wasPaused = app.paused;
    app.paused = FALSE;
    if (!PlayTrack(track))
        app.paused = wasPaused;
}

void PlayerController::SelectTrack(WPARAM commandId)
{
    if (commandId < IDM_TRACKBASE)
        return;
    ChangeTrack(static_cast<int>(commandId - IDM_TRACKBASE));
}

void PlayerController::SelectDrive(WPARAM commandId)
{
    // Only the default device and the letters A: to Z: exist.
    if (commandId < IDM_DEFAULTDRIVE || commandId > IDM_DRIVEBASE + 25)
        return;
    playEndWatch.ForgetDevice();
    app.mediaKeys.Release();
    app.cdDevice.Stop();
    app.cdDevice.Close();
    if (commandId == IDM_DEFAULTDRIVE)
        app.settings.Drive = -1;
    else
        app.settings.Drive = static_cast<int>(commandId - IDM_DRIVEBASE);
    app.cdDevice.Open(app.settings.Drive);
    app.discLookup.LookUpDiscInDrive();
}

void PlayerController::ToggleMode(int index)
{
    if (index < 0 || index > 3)
        return;
    DWORD bit = 1u << index;
    UINT commandId = IDM_REPEATALL + index;
    app.playModes ^= bit;
    CheckMenuItem(app.popupMenu, commandId, MF_BYCOMMAND | ((app.playModes & bit) ? MF_CHECKED : MF_UNCHECKED));
}

void PlayerController::EjectDisc()
{
    playEndWatch.Cancel();
    app.mediaKeys.Release();
    app.cdDevice.OpenDoor();
}

LRESULT PlayerController::OnPlayCompleted(WPARAM code)
{
    // A completion that waited in the queue while another play started (a
    // track that ended during the wait before a track change) belongs to the
    // play before: the watch counts it only when no play runs.
    if (code == MCI_NOTIFY_SUCCESSFUL && playEndWatch.TakeNotification())
        PlayEnded();
    return 0;
}

LRESULT PlayerController::OnPlayEndTimer()
{
    if (playEndWatch.CheckEnd())
        PlayEnded();
    return 0;
}

void PlayerController::PlayEnded()
{
    if (app.playModes & RepeatOne) {
        int track = app.cdDevice.GetCurrentTrack();
        app.cdDevice.Seek(track, 0, 0, 0);
        PlayTrack(track);
    } else if (app.playModes & RandomPlay) {
        PlayRandomTrack();
    } else {
        int count = app.cdDevice.GetTrackCount();
        if (IsAtEndOfDisc(count)) {
            StopPlay();
            if (app.playModes & RepeatAll)
                PlayTrack(1);
        } else {
            NextTrack();
        }
    }
}

bool PlayerController::IsAtEndOfDisc(int trackCount)
{
    if (trackCount < 1 || app.cdDevice.GetCurrentTrack() < trackCount)
        return false;
    // An intro of the last track ends the disc as well: it is the last stop.
    if (app.playModes & IntroPlay)
        return true;
    long position = app.cdDevice.GetPosition();
    long start = app.cdDevice.GetTrackStart(trackCount);
    long length = app.cdDevice.GetTrackLength(trackCount);
    if (position < 0 || start < 0 || length < 0)
        return true;  // stopping is safer than starting the disc again
    long startFrames = MsfToFrames(static_cast<DWORD>(start));
    long endFrames = startFrames + MsfToFrames(static_cast<DWORD>(length));
    return MsfToFrames(static_cast<DWORD>(position)) >= startFrames + (endFrames - startFrames) / 2;
}

LRESULT PlayerController::OnDeviceChange(WPARAM event, LPARAM data)
{
    // Only these two events carry a volume's data; the others are not read.
    if ((event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) || !NamesCdDrive(data))
        return 0;
    if (event == DBT_DEVICEARRIVAL) {
        if (!app.settings.PlayOnInsert || app.mediaPresent)
            return 0;
        if (app.settings.SoundOnInsert)
            PlayArrivalSound();
        app.mediaPresent = app.cdDevice.IsMediaPresent();
        app.cdDevice.Close();
        app.cdDevice.Open(app.settings.Drive);
        StopPlay();
        PlayTrack(1);
    } else if (event == DBT_DEVICEREMOVECOMPLETE) {
        app.mediaPresent = app.cdDevice.IsMediaPresent();
        if (!app.mediaPresent) {
            playEndWatch.Cancel();  // the disc has gone: "not ready" is no longer a passing answer
            app.mediaKeys.Release();
        }
    }
    return 0;
}

// Sticks, card readers and network drives come and go as volumes too; only
// an event that names the player's CD drive concerns it.
bool PlayerController::NamesCdDrive(LPARAM data) const
{
    const DEV_BROADCAST_HDR* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_VOLUME || header->dbch_size < sizeof(DEV_BROADCAST_VOLUME))
        return false;
    DWORD units = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data)->dbcv_unitmask;
    return UnitsNameCdDrive(units, app.settings.Drive);
}

void PlayerController::PlayArrivalSound()
{
    char command[MAX_PATH + 32];
    FormatSoundCommand(app.settings.SoundFile, command, sizeof command);
    sendString(command, nullptr, 0, nullptr);
}
