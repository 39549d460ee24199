// The smallest program of the player's kind, for comparison: a hidden window,
// an icon in the notification area and a message loop. It ends on the same
// WM_COMMAND as the player's Exit item.
#include <windows.h>
#include <shellapi.h>

namespace {

const UINT ExitCommand = 40007;
const char ClassName[] = "VelkinBareTrayWndClass";

NOTIFYICONDATAA icon;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == ExitCommand)
            PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, ClassName, "bare tray", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);

    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_APP;
    icon.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    lstrcpynA(icon.szTip, "bare tray", sizeof icon.szTip);
    Shell_NotifyIconA(NIM_ADD, &icon);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
