#pragma once

#include "Window.h"

// A dialog box built from a resource template, modal or modeless.
class Dialog : public Window {
public:
    explicit Dialog(LPCSTR templateName = nullptr, HWND parent = nullptr);
    ~Dialog() override;
    void Release() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual HWND CreateModeless();
    virtual int DoModal();

    void SetTemplate(LPCSTR name, HWND parentWindow);
    void SetTemplate(UINT id, HWND parentWindow);
    BOOL EndDialog(int result);

    static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    LPCSTR templateName;
    HWND parent;
    int modal;
};
