#include "CddbMatchDialog.h"

#include "Text.h"
#include "resource.h"

CddbMatchDialog::CddbMatchDialog(const CddbMatches& found, HWND owner)
    : Dialog(MAKEINTRESOURCEA(IDD_CDDBMATCHES), owner), matches(found), chosen(-1)
{
}

CddbMatchDialog::~CddbMatchDialog() {}

void FormatMatchLine(const CddbMatch& match, char* text, size_t capacity)
{
    FormatText(text, capacity, "%s\t%s%s", match.category, match.title, match.exact ? "" : "（近い候補）");
}

int CddbMatchDialog::Choose()
{
    chosen = -1;
    return DoModal() == IDOK ? chosen : -1;
}

LRESULT CddbMatchDialog::WindowProc(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        CenterWindow(parent);
        HWND list = GetDlgItem(IDC_CDDBMATCHLIST);
        for (int i = 0; i < matches.count; ++i) {
            char line[sizeof matches.items[i].title + 64];
            FormatMatchLine(matches.items[i], line, sizeof line);
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        }
        ::SendMessageA(list, LB_SETCURSEL, 0, 0);
        SetFocus(list);
        return FALSE;  // the list has the focus
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_CDDBMATCHLIST:
            if (HIWORD(wParam) != LBN_DBLCLK)
                return FALSE;
            [[fallthrough]];  // a double click chooses, as OK does
        case IDOK:
            chosen = static_cast<int>(SendDlgItemMessage(IDC_CDDBMATCHLIST, LB_GETCURSEL, 0, 0));
            EndDialog(chosen >= 0 && chosen < matches.count ? IDOK : IDCANCEL);
            return TRUE;
        case IDCANCEL:
            EndDialog(IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
