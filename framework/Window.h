#pragma once

#include <windows.h>

// What Window::Create packs and Window::CreateEx consumes.
struct WindowCreateParams {
    LPCSTR className;
    LPCSTR windowName;
    DWORD style;
    DWORD exStyle;
    int x;
    int y;
    int width;
    int height;
    HWND parent;
    HMENU menu;
    LPVOID param;
};

// An object standing for one window. The window finds its object through the
// "this pointer" property; there is no handle-to-object table.
class Window {
public:
    explicit Window(HWND window = nullptr);
    virtual ~Window();
    virtual void Release();

    virtual ATOM RegisterWindowClass(LPCSTR className, UINT classStyle, HICON icon, HCURSOR cursor,
                                     HBRUSH background, LPCSTR menuName);
    virtual BOOL CreateEx(WindowCreateParams& params);
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, DWORD exStyle, int x, int y,
                        int width, int height, HWND parent, HMENU menu, LPVOID param);
    virtual BOOL PreCreateWindow(WindowCreateParams& params);
    virtual BOOL Destroy();
    virtual BOOL Subclass();
    virtual BOOL Unsubclass();
    virtual HWND Attach(HWND window);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static Window* FromHandle(HWND window);

    BOOL SetForegroundWindow();
    BOOL BringWindowToTop();
    BOOL ShowWindow(int showCommand);
    LONG_PTR GetWindowLong(int index);
    LONG_PTR SetWindowLong(int index, LONG_PTR value);
    BOOL GetWindowRect(RECT* rect);
    BOOL MoveWindow(const RECT& rect, BOOL repaint);
    HWND GetParent();
    HWND GetDlgItem(int controlId);
    BOOL SetWindowText(LPCSTR text);
    BOOL SetDlgItemText(int controlId, LPCSTR text);
    UINT GetDlgItemText(int controlId, LPSTR buffer, int bufferSize);
    BOOL SetDlgItemInt(int controlId, UINT value, BOOL isSigned);
    UINT GetDlgItemInt(int controlId, BOOL* translated, BOOL isSigned);
    BOOL CheckDlgButton(int controlId, UINT checkState);
    UINT IsDlgButtonChecked(int controlId);
    LRESULT SendDlgItemMessage(int controlId, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL PostMessage(UINT message, WPARAM wParam, LPARAM lParam);
    int MessageBox(LPCSTR text, LPCSTR caption, UINT type);
    LRESULT SetIcon(HICON icon, BOOL big);
    void CenterWindow(HWND reference);

    HWND hwnd;
    WNDPROC prevWndProc;

protected:
    static const char* const PropertyName;
    static HINSTANCE ModuleInstance();
};
