#include "SstpPage.h"

#include "ClientSocket.h"
#include "ConfigApp.h"
#include "Text.h"
#include "resource.h"

static const char* const PortChoices[] = {"9801", "9821", "11000"};

// Everything but the send box itself, which switches the others.
static const int SendControls[] = {IDC_CHECK_SSTP_SERVER, IDC_SERVER_LABEL, IDC_SSTP_SERVER,
                                   IDC_CHECK_HOST,        IDC_PORT_LABEL,   IDC_SSTP_PORT,
                                   IDC_SCRIPT_LABEL,      IDC_SSTP_SCRIPT,  IDC_SCRIPT_HELP};

SstpPage::SstpPage(ConfigApp& application) : ConfigPage(application, IDD_SSTP_PAGE, IDI_SSTP) {}

SstpPage::~SstpPage() {}

LRESULT SstpPage::OnInitDialog(UINT, WPARAM, LPARAM)
{
    for (const char* port : PortChoices)
        SendDlgItemMessage(IDC_SSTP_PORT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(port));
    const Settings& s = app.settings;
    CheckDlgButton(IDC_SEND_SSTP, s.SendSstpMsg ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_CHECK_SSTP_SERVER, s.CheckSstpServer ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_SSTP_SERVER, s.SstpServer);
    SetDlgItemInt(IDC_SSTP_PORT, s.SstpPort, FALSE);
    SetDlgItemText(IDC_SSTP_SCRIPT, s.SstpScript);
    SendDlgItemMessage(IDC_SSTP_SCRIPT, EM_LIMITTEXT, sizeof s.SstpScript - 1, 0);
    scriptEdit.Attach(GetDlgItem(IDC_SSTP_SCRIPT));
    scriptEdit.Subclass();
    UpdateSstpControls();
    return TRUE;
}

LRESULT SstpPage::OnCommand(UINT, WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case IDC_SEND_SSTP:
        if (HIWORD(wParam) == BN_CLICKED)
            UpdateSstpControls();
        break;
    case IDC_CHECK_HOST:
        CheckHost();
        break;
    }
    return FALSE;
}

void SstpPage::UpdateSstpControls()
{
    BOOL enable = IsDlgButtonChecked(IDC_SEND_SSTP) == BST_CHECKED;
    for (int id : SendControls)
        EnableControl(id, enable);
}

void SstpPage::FormatHostReport(char* text, size_t capacity, const char* name, bool found)
{
    // A name longer than any real host name is cut, never inside a
    // double-byte character, and marked, so that the sentence stays whole.
    char shown[HostNameLimit + 4];
    size_t length = CopyText(shown, HostNameLimit + 1, name);
    if (name && name[length] != '\0')
        AppendText(shown, sizeof shown, "...");
    FormatText(text, capacity, "ホスト '%s' は見つかりま%s。", shown, found ? "した" : "せん");
}

void SstpPage::CheckHost()
{
    // The first 63 bytes are looked up, without half a character at the end.
    char typed[256] = "";
    GetDlgItemText(IDC_SSTP_SERVER, typed, sizeof typed);
    char host[64];
    CopyText(host, sizeof host, typed);

    char report[512];
    UINT icon;
    ClientSocket socket;
    socket.Startup();  // a library that did not start makes the lookup fail
    const HOSTENT* entry = ClientSocket::Resolve(host);
    if (entry && entry->h_name) {
        // The name comes from the resolver and has no length bound of its own.
        FormatHostReport(report, sizeof report, entry->h_name, true);
        icon = MB_ICONINFORMATION;
    } else {
        FormatHostReport(report, sizeof report, host, false);
        icon = MB_ICONEXCLAMATION;
    }
    MessageBox(report, app.title, MB_OK | icon);
}
