#include "PlayerWindow.h"

#include "DisplayScale.h"
#include "PlayerApplication.h"

#include <dbt.h>

PlayerWindow::PlayerWindow(PlayerApplication& owner) : app(owner) {}

PlayerWindow::~PlayerWindow() {}

LRESULT PlayerWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        app.mediaKeys.Release();
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        app.controller.OnCommand(wParam);
        return 0;
    case WM_INITMENUPOPUP:
        app.trayMenus.OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_DEVICECHANGE:
        app.controller.OnDeviceChange(wParam, lParam);
        app.discLookup.OnDeviceChange(wParam, lParam);
        return 0;
    case WM_ENDSESSION:
        app.OnEndSession(static_cast<BOOL>(wParam));
        return 0;
    case WM_HOTKEY:
        app.hotKeys.OnHotKey(app.mediaKeys.CommandOfHotKey(wParam));
        return 0;
    case WM_APPCOMMAND:
        if (app.mediaKeys.OnAppCommand(lParam))
            return TRUE;
        break;
    case MM_MCINOTIFY:
        app.controller.OnPlayCompleted(wParam);
        return 0;
    case WM_TIMER:
        if (wParam == PlayEndTimerId)
            app.controller.OnPlayEndTimer();
        return 0;
    case WM_APP:
        app.trayMenus.OnTrayNotify(lParam);
        return 0;
    case WM_DPICHANGED:
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
        app.FitTrayIcon();
        return DefaultProc(message, wParam, lParam);
    case CddbAnswerMessage:
        app.discLookup.OnAnswer(reinterpret_cast<CddbLookup*>(lParam));
        return 0;
    }
    if (message == app.trayIcon.taskbarCreatedMessage) {
        app.FitTrayIcon();
        app.trayIcon.Add();
        app.hotKeyReport.ShowPending();
        return DefaultProc(message, wParam, lParam);
    }
    if (message == app.sendCommandMessage && message != 0)
        return app.hotKeys.OnCommandMessage(wParam);
    if (message == app.playTrackMessage && message != 0)
        return app.hotKeys.OnPlayTrackMessage(wParam);
    return DefaultProc(message, wParam, lParam);
}
