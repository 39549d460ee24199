#include "PropertyPage.h"

#include <string.h>

// The page description of common controls 4.71: 48 bytes in 32 bits, 88 in 64.
static_assert(sizeof(PROPSHEETPAGEA_V2) == (sizeof(void*) == 8 ? 88 : 48), "the 4.71 page description");

PropertyPage::PropertyPage() : Dialog(nullptr, nullptr)
{
    ResetPageData();
}

PropertyPage::~PropertyPage()
{
    PropertyPage::Release();
}

void PropertyPage::Release()
{
    ResetPageData();
}

void PropertyPage::ResetPageData()
{
    memset(&pageData, 0, sizeof pageData);
    pageData.dwSize = sizeof pageData;
    pageData.dwFlags = 0;
    pageData.hInstance = ModuleInstance();
    pageData.pfnDlgProc = StaticPageProc;
    pageData.lParam = reinterpret_cast<LPARAM>(this);
}

void PropertyPage::SetTemplate(UINT templateId, UINT iconId)
{
    pageData.pszTemplate = MAKEINTRESOURCEA(LOWORD(templateId));
    if (iconId != 0) {
        pageData.pszIcon = MAKEINTRESOURCEA(LOWORD(iconId));
        pageData.dwFlags |= PSP_USEICONID;
    }
}

BOOL PropertyPage::OnQueryCancel() { return TRUE; }
BOOL PropertyPage::OnApply() { return TRUE; }
BOOL PropertyPage::OnSetActive() { return TRUE; }
BOOL PropertyPage::OnKillActive() { return TRUE; }
BOOL PropertyPage::OnWizardBack() { return TRUE; }
BOOL PropertyPage::OnWizardNext() { return TRUE; }
BOOL PropertyPage::OnWizardFinish() { return TRUE; }

LRESULT PropertyPage::WindowProc(UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY)
        return FALSE;
    LRESULT answer = OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    if (answer == 0)
        return FALSE;
    // A non-zero answer reaches the sheet as the dialog's message result.
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, answer);
    return TRUE;
}

LRESULT PropertyPage::OnNotify(const NMHDR* header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        return OnSetActive() ? 0 : -1;
    case PSN_KILLACTIVE:
        return OnKillActive() ? 0 : 1;
    case PSN_APPLY:
        return OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
    case PSN_WIZBACK:
        return OnWizardBack() ? 0 : -1;
    case PSN_WIZNEXT:
        return OnWizardNext() ? 0 : -1;
    case PSN_WIZFINISH:
        return OnWizardFinish() ? 0 : 1;
    case PSN_QUERYCANCEL:
        return OnQueryCancel() ? 0 : 1;
    default:
        return 0;
    }
}

INT_PTR CALLBACK PropertyPage::StaticPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PropertyPage* page;
    if (message == WM_INITDIALOG) {
        // lParam is the sheet's own copy of the page description.
        const PROPSHEETPAGEA_V2* record = reinterpret_cast<const PROPSHEETPAGEA_V2*>(lParam);
        page = reinterpret_cast<PropertyPage*>(record->lParam);
        page->hwnd = window;
        SetPropA(window, PropertyName, reinterpret_cast<HANDLE>(page));
    } else {
        page = static_cast<PropertyPage*>(FromHandle(window));
    }
    if (!page)
        return FALSE;
    return page->WindowProc(message, wParam, lParam);
}
