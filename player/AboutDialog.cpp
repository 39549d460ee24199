#include "AboutDialog.h"

#include "Application.h"
#include "ProjectContact.h"
#include "Text.h"
#include "resource.h"

#include <shellapi.h>

const char ProjectWebPage[] = VELKIN_WEB_PAGE;
const char ProjectMailAddress[] = VELKIN_MAIL_ADDRESS;
const char BuildDate[] = __DATE__;
const char BuildTime[] = __TIME__;

void FormatVersionText(const char* version, char* text, size_t capacity)
{
    FormatText(text, capacity, "%s  (Build: %s %s)", version, BuildDate, BuildTime);
}

AboutDialog::AboutDialog(const Application& owner) : app(owner) {}

AboutDialog::~AboutDialog() {}

LRESULT AboutDialog::WindowProc(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            Destroy();
            return TRUE;
        case IDC_WEBSITE:
            Open(ProjectWebPage);
            return TRUE;
        case IDC_MAILADDRESS: {
            char target[160];
            FormatText(target, sizeof target, "mailto:%s", ProjectMailAddress);
            Open(target);
            return TRUE;
        }
        }
        return FALSE;
    case WM_CLOSE:
        Destroy();
        return TRUE;
    }
    return FALSE;
}

BOOL AboutDialog::OnInitDialog()
{
    CenterWindow(GetDesktopWindow());
    SetDlgItemText(IDC_PRODUCTNAME, app.title);
    char versionText[128];
    FormatVersionText(app.version, versionText, sizeof versionText);
    SetDlgItemText(IDC_VERSION, versionText);
    ShowWindow(SW_SHOW);
    return TRUE;
}

void AboutDialog::Open(const char* target)
{
    ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}
