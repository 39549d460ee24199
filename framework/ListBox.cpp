#include "ListBox.h"

ListBox::ListBox() : Window(nullptr) {}

ListBox::~ListBox()
{
    ListBox::Release();
}

void ListBox::Release() {}

BOOL ListBox::CreateEx(WindowCreateParams& params)
{
    params.className = "LISTBOX";
    return Window::CreateEx(params);
}

LRESULT ListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultProc(message, wParam, lParam);
}

BOOL ListBox::Create(LPCSTR windowName, DWORD style, DWORD exStyle, int x, int y, int width, int height,
                     HWND parentWindow, UINT controlId, LPVOID param)
{
    WindowCreateParams params = {"",     windowName,   style,
                                 exStyle, x,           y,
                                 width,  height,       parentWindow,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)), param};
    return CreateEx(params);
}

int ListBox::AddString(LPCSTR text)
{
    return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

BOOL ListBox::SetCurSel(int index)
{
    return SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index), 0) != LB_ERR;
}

int ListBox::GetCurSel()
{
    return static_cast<int>(SendMessage(LB_GETCURSEL, 0, 0));
}
