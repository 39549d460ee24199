#include "ConfigPage.h"

#include "DisplayScale.h"
#include "ShowVersionBox.h"
#include "resource.h"

ConfigPage::ConfigPage(ConfigApp& application, UINT templateId, UINT icon)
    : app(application), iconId(icon), pageIcon(nullptr)
{
    SetTemplate(templateId, icon);
}

ConfigPage::~ConfigPage() {}

LRESULT ConfigPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        FitPageIcon();
        return OnInitDialog(message, wParam, lParam);
    case WM_DPICHANGED_AFTERPARENT:
        FitPageIcon();
        return FALSE;
    case WM_DESTROY:
        if (pageIcon)
            DestroyIcon(pageIcon);
        pageIcon = nullptr;
        return PropertyPage::WindowProc(message, wParam, lParam);
    case WM_COMMAND:
        // The icon in the corner of every page opens the version box.
        if (LOWORD(wParam) == IDC_PAGE_ICON) {
            ShowVersionBox(app);
            return FALSE;
        }
        return OnCommand(message, wParam, lParam);
    default:
        return PropertyPage::WindowProc(message, wParam, lParam);
    }
}

void ConfigPage::FitPageIcon()
{
    int size = DisplayScale::Metric(SM_CXICON, DisplayScale::OfWindow(hwnd));
    HICON icon = DisplayScale::LoadIcon(ModuleInstance(), iconId, size);
    SendDlgItemMessage(IDC_PAGE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (pageIcon)
        DestroyIcon(pageIcon);
    pageIcon = icon;
}

void ConfigPage::EnableControl(int controlId, BOOL enable)
{
    EnableWindow(GetDlgItem(controlId), enable);
}
