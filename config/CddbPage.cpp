#include "CddbPage.h"

#include "ConfigApp.h"
#include "resource.h"

CddbPage::CddbPage(ConfigApp& application) : ConfigPage(application, IDD_CDDB_PAGE, IDI_CDDB) {}

CddbPage::~CddbPage() {}

LRESULT CddbPage::OnInitDialog(UINT, WPARAM, LPARAM)
{
    const Settings& s = app.settings;
    CheckDlgButton(IDC_CDDB_LOOKUP, s.CddbLookup ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_CDDB_SERVER, s.CddbServer);
    SetDlgItemInt(IDC_CDDB_PORT, s.CddbPort, FALSE);
    SetDlgItemText(IDC_CDDB_PATH, s.CddbPath);
    SetDlgItemText(IDC_CDDB_EMAIL, s.CddbEmail);
    // No more than the settings hold.
    SendDlgItemMessage(IDC_CDDB_SERVER, EM_LIMITTEXT, sizeof s.CddbServer - 1, 0);
    SendDlgItemMessage(IDC_CDDB_PORT, EM_LIMITTEXT, 5, 0);
    SendDlgItemMessage(IDC_CDDB_PATH, EM_LIMITTEXT, sizeof s.CddbPath - 1, 0);
    SendDlgItemMessage(IDC_CDDB_EMAIL, EM_LIMITTEXT, sizeof s.CddbEmail - 1, 0);
    return TRUE;
}

// The server fields stay open while the automatic lookup is off: a lookup
// that the user asks for in the player's title editor uses them as well.
LRESULT CddbPage::OnCommand(UINT, WPARAM, LPARAM)
{
    return FALSE;
}
