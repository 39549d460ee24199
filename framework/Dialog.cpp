#include "Dialog.h"

Dialog::Dialog(LPCSTR name, HWND parentWindow) : Window(nullptr), templateName(name), parent(parentWindow), modal(0) {}

Dialog::~Dialog()
{
    Dialog::Release();
}

void Dialog::Release()
{
    if (!hwnd)
        return;
    // No message may reach a half-destroyed object.
    RemovePropA(hwnd, PropertyName);
    if (modal)
        EndDialog(0);
    else
        Destroy();
}

LRESULT Dialog::WindowProc(UINT, WPARAM, LPARAM)
{
    return FALSE;
}

HWND Dialog::CreateModeless()
{
    hwnd = CreateDialogParamA(ModuleInstance(), templateName, parent, StaticDialogProc,
                              reinterpret_cast<LPARAM>(this));
    return hwnd;
}

int Dialog::DoModal()
{
    modal = 1;
    return static_cast<int>(DialogBoxParamA(ModuleInstance(), templateName, parent, StaticDialogProc,
                                            reinterpret_cast<LPARAM>(this)));
}

void Dialog::SetTemplate(LPCSTR name, HWND parentWindow)
{
    templateName = name;
    parent = parentWindow;
}

void Dialog::SetTemplate(UINT id, HWND parentWindow)
{
    SetTemplate(MAKEINTRESOURCEA(LOWORD(id)), parentWindow);
}

BOOL Dialog::EndDialog(int result)
{
    modal = 0;
    return ::EndDialog(hwnd, result);
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* object;
    if (message == WM_INITDIALOG) {
        object = reinterpret_cast<Dialog*>(lParam);
        object->hwnd = window;
        SetPropA(window, PropertyName, reinterpret_cast<HANDLE>(object));
    } else {
        object = static_cast<Dialog*>(FromHandle(window));
    }
    if (!object)
        return FALSE;
    return object->WindowProc(message, wParam, lParam);
}
