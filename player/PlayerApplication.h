#pragma once

#include "AboutDialog.h"
#include "Application.h"
#include "CdAudioDevice.h"
#include "CddbTitleSearch.h"
#include "CommandLine.h"
#include "DiscLookup.h"
#include "DiscTitleStore.h"
#include "HotKeyReport.h"
#include "HotKeys.h"
#include "MediaKeys.h"
#include "PlayerController.h"
#include "PlayerWindow.h"
#include "ProfileFile.h"
#include "Settings.h"
#include "SstpNotifier.h"
#include "TitleEditorDialog.h"
#include "TrayIcon.h"
#include "TrayMenus.h"
#include "VolumeDialog.h"

extern const char PlayerWindowClassName[];  // "VelkinPlayerWndClass"
extern const char PlayerTitle[];            // "Velkinプレイヤー"
extern const char PlayerVersion[];          // "2.01"
extern const char PlayerMutexName[];        // "VelkinPlayerMutex"
extern const char SendCommandMessageName[]; // "VelkinSendCommand"

// Play-mode bits of playModes.
enum PlayMode {
    RepeatAll = 1,
    RepeatOne = 2,
    RandomPlay = 4,
    IntroPlay = 8,
};

const int MenuBitmapCount = 21;

// The player program: a hidden window, the tray icon and its menus, the CD
// device and the run-time state, all owned for the whole process.
class PlayerApplication : public Application {
public:
    PlayerApplication();
    ~PlayerApplication() override;

    BOOL InitApplication() override;
    BOOL InitInstance() override;
    int ExitInstance(int exitCode) override;
    BOOL PreTranslateMessage(MSG* message) override;

    // Start-up pieces, in the order InitInstance runs them.
    BOOL CreatePlayerWindow();
    void AddTrayIcon();
    // The tray icon at the notification area's size at the window's display
    // scale, loaded again only when that size has changed.
    void FitTrayIcon();
    void LoadPopupMenu();
    // False when another instance runs; otherwise this one now holds the
    // instance mutex.
    bool ClaimInstance();
    void OpenCdDevice();

    // The session ends (ending) or goes on after all. An ending session ends
    // the process without the exit hook, so the drive is written here.
    void OnEndSession(BOOL ending);

    // Settings read again (after the configuration program): the hot-keys
    // are registered again once the window exists.
    void ReloadSettings();

    // Filled by the dialogs and external programs (PlayerCommands.cpp).
    void ShowAboutDialog();
    void ShowVolumeDialog();
    void LaunchMultimediaProperties();
    void LaunchVolumeControl();
    void LaunchConfigProgram();
    void ShowCdInfo();
    void ShowTitleEditor();

    PlayerWindow window;
    CdAudioDevice cdDevice;
    TrayIcon trayIcon;
    DiscTitleStore DiscDatabase;  // the "cdplayer.ini" beside the program, then the Windows folder's
    ProfileFile settingsFile;
    VolumeDialog volumeDialog;
    AboutDialog aboutDialog;
    UINT sendCommandMessage;
    HMENU popupMenu;
    HANDLE instanceMutex;
    HBITMAP menuBitmaps[MenuBitmapCount];
    HICON trayIconHandle;
    int trayIconSize;
    BOOL mediaPresent;
    Settings settings;
    BOOL paused;
    DWORD playModes;

    SstpNotifier sstpNotifier;
    PlayerController controller;
    TrayMenus trayMenus;
    HotKeys hotKeys;
    TitleEditorDialog titleEditor;
    DiscLookup discLookup;
    CddbTitleSearch cddbSearch;
    HotKeyReport hotKeyReport;
    MediaKeys mediaKeys;
    CommandLine startSwitch;   // carried out once the player is ready
    UINT playTrackMessage;     // "VelkinPlayTrack"
};
