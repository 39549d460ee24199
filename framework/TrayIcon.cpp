#include "TrayIcon.h"

#include "Text.h"

#include <string.h>

namespace {

const DWORD FirstFormSize = 88;  // NOTIFYICONDATAA as the first shells knew it
const int TipCapacity = 64;

}  // namespace

TrayIcon::TrayIcon() : iconData(), taskbarCreatedMessage(RegisterWindowMessageA("TaskbarCreated"))
{
    iconData.cbSize = FirstFormSize;
}

TrayIcon::~TrayIcon()
{
    TrayIcon::Release();
}

void TrayIcon::Release()
{
    Delete();
    memset(&iconData, 0, sizeof iconData);
    iconData.cbSize = FirstFormSize;
}

void TrayIcon::Set(HWND window, UINT id, UINT flags, UINT callbackMessage, HICON icon, LPCSTR tip)
{
    iconData.hWnd = window;
    iconData.uID = id;
    iconData.uFlags = flags;
    iconData.uCallbackMessage = callbackMessage;
    iconData.hIcon = icon;
    CopyText(iconData.szTip, TipCapacity, tip);
}

BOOL TrayIcon::Add()
{
    return Shell_NotifyIconA(NIM_ADD, &iconData);
}

BOOL TrayIcon::Delete()
{
    // An icon without a window was never added; asking the shell costs time.
    if (!iconData.hWnd)
        return FALSE;
    return Shell_NotifyIconA(NIM_DELETE, &iconData);
}
