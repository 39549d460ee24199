#include "TrayIcon.h"

#include "Text.h"

#include <string.h>

namespace {

const DWORD FirstFormSize = 88;  // NOTIFYICONDATAA as the first shells knew it
const int TipCapacity = 64;
const UINT BalloonTimeoutMs = 30000;  // the longest a shell keeps a balloon

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

BOOL TrayIcon::ChangeIcon(HICON icon)
{
    iconData.hIcon = icon;
    if (!iconData.hWnd)
        return FALSE;
    NOTIFYICONDATAA change = iconData;
    change.uFlags = NIF_ICON;
    return Shell_NotifyIconA(NIM_MODIFY, &change);
}

BOOL TrayIcon::ShowBalloon(LPCSTR title, LPCSTR text)
{
    if (!iconData.hWnd)
        return FALSE;
    // The record's second form carries the balloon; the icon keeps its first.
    NOTIFYICONDATAA balloon = {};
    balloon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    balloon.hWnd = iconData.hWnd;
    balloon.uID = iconData.uID;
    balloon.uFlags = NIF_INFO;
    CopyText(balloon.szInfo, sizeof balloon.szInfo, text);
    CopyText(balloon.szInfoTitle, sizeof balloon.szInfoTitle, title);
    balloon.uTimeout = BalloonTimeoutMs;
    balloon.dwInfoFlags = NIIF_WARNING;
    return Shell_NotifyIconA(NIM_MODIFY, &balloon);
}
