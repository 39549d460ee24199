// The player's dialogs and the programs it starts.
#include "PlayerApplication.h"

#include "CdInfoMenu.h"
#include "ExternalPrograms.h"
#include "Text.h"

void PlayerApplication::ShowAboutDialog()
{
    if (IsWindow(aboutDialog.hwnd))
        aboutDialog.BringWindowToTop();
    else
        aboutDialog.CreateModeless();
}

void PlayerApplication::ShowVolumeDialog()
{
    // A fresh dialog at the pointer, with the volume as it is now.
    if (IsWindow(volumeDialog.hwnd))
        volumeDialog.Destroy();
    LoadTrackbarClass();
    volumeDialog.CreateModeless();
}

void PlayerApplication::LaunchMultimediaProperties()
{
    if (!StartMultimediaProperties(window.hwnd))
        window.MessageBox(MultimediaPropertiesError, title, MB_OK | MB_ICONERROR);
}

void PlayerApplication::LaunchVolumeControl()
{
    if (!StartVolumeControl(window.hwnd))
        window.MessageBox(VolumeControlError, title, MB_OK | MB_ICONERROR);
}

void PlayerApplication::LaunchConfigProgram()
{
    // The configuration program never writes the drive. It is written for
    // it all the same, and the drive chosen in this run is kept through the
    // reload below even when that write failed.
    int drive = settings.Drive;
    SaveDrive(settingsFile, drive);
    char path[MAX_PATH];
    BuildConfigProgramPath(modulePath, path, sizeof path);
    if (!RunAndWait(path)) {
        char text[MAX_PATH + 64];
        FormatConfigProgramError(path, text, sizeof text);
        window.MessageBox(text, title, MB_OK | MB_ICONERROR);
        return;
    }
    ReloadSettings();
    settings.Drive = drive;
    discLookup.LookUpDiscInDrive();  // the lookup may just have been turned on
}

void PlayerApplication::ShowTitleEditor()
{
    if (IsWindow(titleEditor.hwnd)) {
        titleEditor.BringWindowToTop();
        titleEditor.SetForegroundWindow();
        return;
    }
    char discId[16];
    cdDevice.GetDiscId(discId, sizeof discId);
    int trackCount = cdDevice.GetTrackCount();
    if (discId[0] == '\0' || trackCount < 1)
        return;  // no disc to name: the menu item is grayed then
    LoadListViewClass();
    titleEditor.Open(discId, trackCount, cdDevice.GetCurrentTrack());
}

void PlayerApplication::ShowCdInfo()
{
    HMENU menu = BuildCdInfoMenu(cdDevice);
    if (!menu)
        return;
    ShowPopupAtPointer(menu, window.hwnd);
    DestroyMenu(menu);
}
