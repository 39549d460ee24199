#include "ConfigPage.h"

#include "ShowVersionBox.h"
#include "resource.h"

ConfigPage::ConfigPage(ConfigApp& application, UINT templateId, UINT iconId) : app(application)
{
    SetTemplate(templateId, iconId);
}

ConfigPage::~ConfigPage() {}

LRESULT ConfigPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(message, wParam, lParam);
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

void ConfigPage::EnableControl(int controlId, BOOL enable)
{
    EnableWindow(GetDlgItem(controlId), enable);
}
