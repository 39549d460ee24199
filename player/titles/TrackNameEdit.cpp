#include "TrackNameEdit.h"

TrackNameEdit::~TrackNameEdit() {}

LRESULT TrackNameEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && trackList &&
        (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT))
        return ::SendMessageA(trackList, WM_KEYDOWN, wParam, lParam);
    return DefaultProc(message, wParam, lParam);
}
