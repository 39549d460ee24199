#include "PropertySheet.h"

#include "Text.h"

#include <stdlib.h>
#include <string.h>

// The original sheet description: 52 bytes in 32 bits, 96 in 64.
static_assert(sizeof(PROPSHEETHEADERA) == (sizeof(void*) == 8 ? 96 : 52), "the original sheet description");

PropertySheet::PropertySheet() : Dialog(nullptr, nullptr), pages(nullptr), caption(), result(IDCANCEL)
{
    ResetHeader();
}

PropertySheet::~PropertySheet()
{
    PropertySheet::Release();
}

void PropertySheet::Release()
{
    free(pages);
    pages = nullptr;
    ResetHeader();
}

void PropertySheet::ResetHeader()
{
    memset(&header, 0, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE;
    header.hInstance = ModuleInstance();
}

BOOL PropertySheet::Setup(PropertyPage* const* pageList, int pageCount, LPCSTR captionText, HWND parentWindow,
                          BOOL showApplyNow, BOOL hasHelp, int startPage, UINT iconId)
{
    Release();
    if (pageCount < 0)
        pageCount = 0;
    if (pageCount > 0) {
        pages = static_cast<PropertyPage**>(malloc(sizeof(PropertyPage*) * pageCount));
        if (!pages)
            return FALSE;
        memcpy(pages, pageList, sizeof(PropertyPage*) * pageCount);
    }
    header.nPages = static_cast<UINT>(pageCount);
    header.hwndParent = parentWindow;
    header.pszCaption = caption;
    header.nStartPage = static_cast<UINT>(startPage);
    if (captionText)
        CopyText(caption, sizeof caption, captionText);
    if (!showApplyNow)
        header.dwFlags |= PSH_NOAPPLYNOW;
    if (hasHelp)
        header.dwFlags |= PSH_HASHELP;
    if (iconId != 0) {
        header.pszIcon = MAKEINTRESOURCEA(LOWORD(iconId));
        header.dwFlags |= PSH_USEICONID;
    }
    result = IDCANCEL;
    return TRUE;
}

INT_PTR PropertySheet::Show(BOOL modeless)
{
    UINT count = header.nPages;
    PROPSHEETPAGEA_V2* records = nullptr;
    if (count > 0) {
        records = static_cast<PROPSHEETPAGEA_V2*>(malloc(sizeof(PROPSHEETPAGEA_V2) * count));
        if (!records)
            return -1;
        for (UINT i = 0; i < count; ++i)
            records[i] = pages[i]->pageData;
    }
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(records);
    if (modeless)
        header.dwFlags |= PSH_MODELESS;
    else
        header.dwFlags &= ~static_cast<DWORD>(PSH_MODELESS);
    INT_PTR answer = ::PropertySheetA(&header);
    // The sheet keeps its own copies of the page records.
    header.ppsp = nullptr;
    free(records);
    return answer;
}

int PropertySheet::DoModal()
{
    return static_cast<int>(Show(FALSE));
}

HWND PropertySheet::CreateModeless()
{
    INT_PTR answer = Show(TRUE);
    if (answer == -1 || answer == 0)
        return nullptr;
    HWND sheetWindow = reinterpret_cast<HWND>(answer);
    if (!AttachWindow(sheetWindow))
        return nullptr;
    return sheetWindow;
}

BOOL PropertySheet::AttachWindow(HWND sheetWindow)
{
    if (prevWndProc)
        return FALSE;
    hwnd = sheetWindow;
    return Subclass();
}

int PropertySheet::OnOK()
{
    if (header.dwFlags & PSH_MODELESS)
        Destroy();
    return IDOK;
}

int PropertySheet::OnCancel()
{
    if (header.dwFlags & PSH_MODELESS)
        Destroy();
    return IDCANCEL;
}

LRESULT PropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == IDOK)
            result = OnOK();
        else if (LOWORD(wParam) == IDCANCEL)
            result = OnCancel();
    }
    if (!prevWndProc)
        return 0;
    return CallWindowProcA(prevWndProc, hwnd, message, wParam, lParam);
}
