#pragma once

#include <windows.h>
#include <shellapi.h>

// One icon in the notification area. The record keeps its first, 88-byte
// form so that every shell takes it.
class TrayIcon {
public:
    TrayIcon();
    virtual ~TrayIcon();
    virtual void Release();

    void Set(HWND window, UINT id, UINT flags, UINT callbackMessage, HICON icon, LPCSTR tip);
    BOOL Add();
    BOOL Delete();
    // Another image of the icon (for a new display scale): stored, and shown
    // at once when the icon is shown.
    BOOL ChangeIcon(HICON icon);
    // A balloon (NIF_INFO) with the warning icon on the icon that is shown.
    // Shells before Windows 2000 know no balloons and answer FALSE.
    BOOL ShowBalloon(LPCSTR title, LPCSTR text);

    NOTIFYICONDATAA iconData;
    UINT taskbarCreatedMessage;  // "TaskbarCreated": the shell asks for the icon again
};
