#include "PlayerApplication.h"

#include "DisplayScale.h"
#include "NamedMutex.h"
#include "Text.h"
#include "VelkinVersion.h"
#include "resource.h"

#include <stdlib.h>

const char PlayerWindowClassName[] = "VelkinPlayerWndClass";
const char PlayerTitle[] = "Velkinプレイヤー";
const char PlayerVersion[] = VELKIN_VERSION;
const char PlayerMutexName[] = "VelkinPlayerMutex";
const char SendCommandMessageName[] = "VelkinSendCommand";

PlayerApplication::PlayerApplication()
    : window(*this), aboutDialog(*this), sendCommandMessage(0), popupMenu(nullptr), instanceMutex(nullptr), menuBitmaps(),
      trayIconHandle(nullptr), trayIconSize(0), mediaPresent(FALSE), settings(), paused(FALSE), playModes(0),
      sstpNotifier(settings, cdDevice, DiscDatabase), controller(*this), trayMenus(*this), hotKeys(*this),
      titleEditor(DiscDatabase, *this), discLookup(*this), cddbSearch(cdDevice, settings, PlayerTitle),
      hotKeyReport(*this), mediaKeys(*this), playTrackMessage(0)
{
    titleEditor.cddbSearch = &cddbSearch;
}

PlayerApplication::~PlayerApplication() {}

BOOL PlayerApplication::InitApplication()
{
    DiscDatabase.Locate(modulePath);

    char settingsPath[MAX_PATH];
    BuildSettingsPath(modulePath, settingsPath, sizeof settingsPath);
    settingsFile.SetPath(settingsPath);
    ReloadSettings();
    return TRUE;
}

BOOL PlayerApplication::InitInstance()
{
    SetNames(PlayerTitle, PlayerVersion);
    CreatePlayerWindow();
    AddTrayIcon();
    LoadPopupMenu();
    volumeDialog.SetTemplate(IDD_VOLUME, nullptr);
    aboutDialog.SetTemplate(IDD_ABOUT, nullptr);
    titleEditor.SetTemplate(IDD_TITLEEDITOR, nullptr);
    if (!ClaimInstance()) {
        trayIcon.Delete();
        DestroyIcon(trayIconHandle);
        trayIconHandle = nullptr;
        trayMenus.FreeMenuBitmaps();
        return FALSE;
    }
    srand(GetTickCount());
    hotKeys.RegisterHotKeys();
    paused = FALSE;
    OpenCdDevice();
    if (settings.PlayOnExec)
        controller.PlayTrack(1);
    discLookup.LookUpDiscInDrive();
    startSwitch.PostTo(window.hwnd, cdDevice.GetMode() == CdModePlaying);
    return TRUE;
}

BOOL PlayerApplication::CreatePlayerWindow()
{
    sendCommandMessage = RegisterWindowMessageA(SendCommandMessageName);
    playTrackMessage = RegisterWindowMessageA(PlayTrackMessageName);
    HICON classIcon = LoadIcon(IDI_VELKIN);
    window.RegisterWindowClass(PlayerWindowClassName, 0, classIcon, nullptr, nullptr, nullptr);
    BOOL created = window.Create(PlayerWindowClassName, title, WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr,
                                 nullptr, nullptr);
    cddbSearch.answerWindow = window.hwnd;
    return created;
}

void PlayerApplication::AddTrayIcon()
{
    FitTrayIcon();
    trayIcon.Set(window.hwnd, 0, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_APP, trayIconHandle, title);
    trayIcon.Add();
}

void PlayerApplication::FitTrayIcon()
{
    int size = DisplayScale::Metric(SM_CXSMICON, DisplayScale::OfWindow(window.hwnd));
    if (trayIconHandle && size == trayIconSize)
        return;
    HICON shown = trayIconHandle;
    trayIconHandle = DisplayScale::LoadIcon(instance, IDI_TRAY, size);
    trayIconSize = size;
    trayIcon.ChangeIcon(trayIconHandle);
    if (shown)
        DestroyIcon(shown);
}

void PlayerApplication::LoadPopupMenu()
{
    popupMenu = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_POPUP));
    trayMenus.LoadMenuBitmaps();
}

// The mutex is held while the player runs and released at its exit.
bool PlayerApplication::ClaimInstance()
{
    return ClaimNamedMutex(PlayerMutexName, TRUE, &instanceMutex);
}

void PlayerApplication::OpenCdDevice()
{
    cdDevice.SetNotifyWindow(window.hwnd);
    cdDevice.Open(settings.Drive);
    cdDevice.Stop();
    cdDevice.Seek(1, 0, 0, 0);
    mediaPresent = cdDevice.IsMediaPresent();
}

void PlayerApplication::ReloadSettings()
{
    LoadSettings(settingsFile, settings);
    if (window.hwnd)
        hotKeys.RegisterHotKeys();
    mediaKeys.Refresh();
}

void PlayerApplication::OnEndSession(BOOL ending)
{
    if (ending)
        SaveDrive(settingsFile, settings.Drive);
}

int PlayerApplication::ExitInstance(int exitCode)
{
    trayIcon.Delete();
    if (trayIconHandle)
        DestroyIcon(trayIconHandle);
    trayIconHandle = nullptr;
    if (popupMenu) {
        DestroyMenu(popupMenu);
        popupMenu = nullptr;
    }
    trayMenus.FreeMenuBitmaps();
    if (instanceMutex)
        ReleaseMutex(instanceMutex);
    SaveDrive(settingsFile, settings.Drive);
    return exitCode;
}

// Keyboard navigation in the modeless dialogs.
BOOL PlayerApplication::PreTranslateMessage(MSG* message)
{
    Dialog* dialogs[] = {&volumeDialog, &aboutDialog, &titleEditor};
    for (Dialog* dialog : dialogs) {
        if (dialog->hwnd && IsWindow(dialog->hwnd) && IsDialogMessageA(dialog->hwnd, message))
            return TRUE;
    }
    return FALSE;
}
