#include "Window.h"

const char* const Window::PropertyName = "this pointer";

Window::Window(HWND window) : hwnd(window), prevWndProc(nullptr) {}

Window::~Window()
{
    Window::Release();
}

void Window::Release()
{
    Unsubclass();
}

HINSTANCE Window::ModuleInstance()
{
    return GetModuleHandleA(nullptr);
}

Window* Window::FromHandle(HWND window)
{
    return reinterpret_cast<Window*>(GetPropA(window, PropertyName));
}

ATOM Window::RegisterWindowClass(LPCSTR className, UINT classStyle, HICON icon, HCURSOR cursor,
                                 HBRUSH background, LPCSTR menuName)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = ModuleInstance();
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszMenuName = menuName;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc);
}

BOOL Window::CreateEx(WindowCreateParams& params)
{
    if (!PreCreateWindow(params))
        return FALSE;
    HWND created = CreateWindowExA(params.exStyle, params.className, params.windowName, params.style,
                                   params.x, params.y, params.width, params.height, params.parent,
                                   params.menu, ModuleInstance(), params.param);
    if (!created)
        return FALSE;
    hwnd = created;
    return Subclass();
}

BOOL Window::Create(LPCSTR className, LPCSTR windowName, DWORD style, DWORD exStyle, int x, int y,
                    int width, int height, HWND parent, HMENU menu, LPVOID param)
{
    WindowCreateParams params = {className, windowName, style, exStyle, x, y,
                                 width, height, parent, menu, param};
    return CreateEx(params);
}

BOOL Window::PreCreateWindow(WindowCreateParams&)
{
    return TRUE;
}

BOOL Window::Destroy()
{
    Unsubclass();
    if (!DestroyWindow(hwnd))
        return FALSE;
    hwnd = nullptr;
    return TRUE;
}

BOOL Window::Subclass()
{
    if (prevWndProc)
        return FALSE;
    SetPropA(hwnd, PropertyName, reinterpret_cast<HANDLE>(this));
    prevWndProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWindowProc));
    return TRUE;
}

BOOL Window::Unsubclass()
{
    if (!prevWndProc)
        return FALSE;
    RemovePropA(hwnd, PropertyName);
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prevWndProc));
    prevWndProc = nullptr;
    return TRUE;
}

HWND Window::Attach(HWND window)
{
    HWND old = hwnd;
    Unsubclass();
    hwnd = window;
    return old;
}

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultProc(message, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!prevWndProc)
        return 0;
    return CallWindowProcA(prevWndProc, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* object = FromHandle(window);
    if (!object)
        return 0;
    return object->WindowProc(message, wParam, lParam);
}

BOOL Window::SetForegroundWindow() { return ::SetForegroundWindow(hwnd); }
BOOL Window::BringWindowToTop() { return ::BringWindowToTop(hwnd); }
BOOL Window::ShowWindow(int showCommand) { return ::ShowWindow(hwnd, showCommand); }
// The pointer-sized forms, so that a window procedure or user data survives
// in 64 bits.
LONG_PTR Window::GetWindowLong(int index) { return ::GetWindowLongPtrA(hwnd, index); }
LONG_PTR Window::SetWindowLong(int index, LONG_PTR value) { return ::SetWindowLongPtrA(hwnd, index, value); }
BOOL Window::GetWindowRect(RECT* rect) { return ::GetWindowRect(hwnd, rect); }
HWND Window::GetParent() { return ::GetParent(hwnd); }
HWND Window::GetDlgItem(int controlId) { return ::GetDlgItem(hwnd, controlId); }
BOOL Window::SetWindowText(LPCSTR text) { return ::SetWindowTextA(hwnd, text); }
BOOL Window::SetDlgItemText(int controlId, LPCSTR text) { return ::SetDlgItemTextA(hwnd, controlId, text); }

BOOL Window::MoveWindow(const RECT& rect, BOOL repaint)
{
    return ::MoveWindow(hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

UINT Window::GetDlgItemText(int controlId, LPSTR buffer, int bufferSize)
{
    return ::GetDlgItemTextA(hwnd, controlId, buffer, bufferSize);
}

BOOL Window::SetDlgItemInt(int controlId, UINT value, BOOL isSigned)
{
    return ::SetDlgItemInt(hwnd, controlId, value, isSigned);
}

UINT Window::GetDlgItemInt(int controlId, BOOL* translated, BOOL isSigned)
{
    return ::GetDlgItemInt(hwnd, controlId, translated, isSigned);
}

BOOL Window::CheckDlgButton(int controlId, UINT checkState)
{
    return ::CheckDlgButton(hwnd, controlId, checkState);
}

UINT Window::IsDlgButtonChecked(int controlId)
{
    return ::IsDlgButtonChecked(hwnd, controlId);
}

LRESULT Window::SendDlgItemMessage(int controlId, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendDlgItemMessageA(hwnd, controlId, message, wParam, lParam);
}

LRESULT Window::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(hwnd, message, wParam, lParam);
}

BOOL Window::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(hwnd, message, wParam, lParam);
}

int Window::MessageBox(LPCSTR text, LPCSTR caption, UINT type)
{
    return ::MessageBoxA(hwnd, text, caption, type);
}

LRESULT Window::SetIcon(HICON icon, BOOL big)
{
    return ::SendMessageA(hwnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Window::CenterWindow(HWND reference)
{
    if (!reference)
        reference = ::GetParent(hwnd);
    if (!reference)
        reference = GetDesktopWindow();
    RECT outer, own;
    ::GetWindowRect(reference, &outer);
    ::GetWindowRect(hwnd, &own);
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    int left = ((outer.right - outer.left) - width) / 2;
    int top = ((outer.bottom - outer.top) - height) / 2;
    RECT target = {left, top, left + width, top + height};
    MoveWindow(target, TRUE);
}
