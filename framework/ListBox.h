#pragma once

#include "Window.h"

// A window of the system class "LISTBOX", made or attached to a dialog's
// list box.
class ListBox : public Window {
public:
    ListBox();
    ~ListBox() override;
    void Release() override;
    BOOL CreateEx(WindowCreateParams& params) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    using Window::Create;
    virtual BOOL Create(LPCSTR windowName, DWORD style, DWORD exStyle, int x, int y, int width, int height,
                        HWND parent, UINT controlId, LPVOID param);

    int AddString(LPCSTR text);
    BOOL SetCurSel(int index);
    int GetCurSel();
};
