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

    ClientSocket socket;
    socket.Startup();  // a library that did not start makes the lookup fail
    // A dotted address is found as it stands, the way the player sends to
    // it: a reverse lookup would call an address without a reverse entry
    // missing although the notification reaches it.
    char address[16] = "";
    const char* found = nullptr;
    unsigned long dotted = inet_addr(host);
    if (dotted != INADDR_NONE) {
        in_addr parsed;
        parsed.s_addr = dotted;
        CopyText(address, sizeof address, inet_ntoa(parsed));
        found = address;
    } else {
        const HOSTENT* entry = ClientSocket::Resolve(host);
        if (entry && entry->h_name)
            found = entry->h_name;  // from the resolver, with no length bound of its own
    }
    char report[512];
    FormatHostReport(report, sizeof report, found ? found : host, found != nullptr);
    MessageBox(report, app.title, MB_OK | (found ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}
