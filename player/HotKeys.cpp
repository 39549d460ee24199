#include "HotKeys.h"

#include "CommandTable.h"
#include "PlayerApplication.h"
#include "resource.h"

HotKeys::HotKeys(PlayerApplication& owner) : app(owner) {}

void HotKeys::RegisterHotKeys()
{
    // The earlier set goes first: a combination that moved to another
    // command is free for it, and a changed one stops acting.
    for (int index = 0; index < CommandCount; ++index)
        UnregisterHotKey(app.window.hwnd, index);
    unsigned failed = 0;
    bool allTaken = true;
    for (int index = 0; index < CommandCount; ++index) {
        int value = app.settings.hotKeys[index];
        if (RegisterHotKey(app.window.hwnd, index, HotKeyModifiers(value), HotKeyCode(value)))
            continue;
        failed |= 1u << index;
        // A key that two commands share is this player's own, not another program's.
        allTaken = allTaken && GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED && !IsSharedKey(index);
    }
    app.hotKeyReport.Report(failed, allTaken);
}

bool HotKeys::IsSharedKey(int index) const
{
    for (int other = 0; other < CommandCount; ++other)
        if (other != index && app.settings.hotKeys[other] == app.settings.hotKeys[index])
            return true;
    return false;
}

LRESULT HotKeys::OnCommandMessage(WPARAM wParam)
{
    WORD index = LOWORD(wParam);
    if (index >= CommandCount)
        return FALSE;
    bool deviceCommand = index >= CommandPlay && index <= CommandLoad;
    if (!deviceCommand)
        ReplyMessage(TRUE);
    OnHotKey(index);
    return TRUE;
}

LRESULT HotKeys::OnPlayTrackMessage(WPARAM track)
{
    if (track < 1 || track > static_cast<WPARAM>(MaxSwitchTrack) ||
        static_cast<int>(track) > app.cdDevice.GetTrackCount())
        return FALSE;
    app.controller.SelectTrack(IDM_TRACKBASE + track);
    return TRUE;
}

LRESULT HotKeys::OnHotKey(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case CommandMainMenu:
        app.trayMenus.ShowMainMenu();
        break;
    case CommandTrackMenu:
        app.trayMenus.ShowTrackMenu();
        break;
    case CommandDriveMenu:
        app.trayMenus.ShowDriveMenu();
        break;
    case CommandModeMenu:
        app.trayMenus.ShowModeMenu();
        break;
    case CommandPlay:
        app.controller.PlayPause();
        break;
    case CommandStop:
        app.controller.StopPlay();
        break;
    case CommandBack:
        app.controller.PreviousTrack();
        break;
    case CommandNext:
        app.controller.NextTrack();
        break;
    case CommandEject:
        app.controller.EjectDisc();
        break;
    case CommandLoad:
        app.cdDevice.CloseDoor();
        break;
    case CommandCustom:
        app.LaunchConfigProgram();
        break;
    case CommandInfo:
        app.ShowCdInfo();
        break;
    case CommandVolume:
        app.ShowVolumeDialog();
        break;
    case CommandVolCtrl:
        app.LaunchVolumeControl();
        break;
    case CommandPropMM:
        app.LaunchMultimediaProperties();
        break;
    }
    return 0;
}
