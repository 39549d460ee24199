#include "GeneralPage.h"

#include "ConfigApp.h"
#include "FileDialog.h"
#include "Text.h"
#include "resource.h"

#include <commctrl.h>

const char GeneralPage::SoundFilter[] = "WAVEファイル (*.wav)|*.wav|すべてのファイル (*.*)|*.*||";

GeneralPage::GeneralPage(ConfigApp& application)
    : ConfigPage(application, IDD_GENERAL_PAGE, IDI_GENERAL), startAtLogon(false)
{
}

GeneralPage::~GeneralPage() {}

LRESULT GeneralPage::OnInitDialog(UINT, WPARAM, LPARAM)
{
    // The start page always initialises, so the sheet is tied to its window here.
    HWND sheetWindow = GetParent();
    app.sheet.AttachWindow(sheetWindow);
    app.sheet.SetIcon(app.appIcon, TRUE);

    const Settings& s = app.settings;
    CheckDlgButton(IDC_PLAY_ON_EXEC, s.PlayOnExec ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_PLAY_ON_INSERT, s.PlayOnInsert ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SOUND_ON_INSERT, s.SoundOnInsert ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_SOUND_FILE, s.SoundFile);
    SetDlgItemInt(IDC_INTRO_TIME, static_cast<UINT>(s.IntroTime), TRUE);
    SendDlgItemMessage(IDC_INTRO_SPIN, UDM_SETRANGE, 0, MAKELPARAM(3600, 3));
    UpdateSoundControls();
    ShowStartup();
    return TRUE;
}

LRESULT GeneralPage::OnCommand(UINT, WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case IDC_SOUND_ON_INSERT:
        // The box has BS_NOTIFY; its focus notifications change nothing.
        if (HIWORD(wParam) == BN_CLICKED)
            UpdateSoundControls();
        break;
    case IDC_BROWSE_SOUND:
        BrowseSoundFile();
        break;
    case IDC_START_WITH_WINDOWS:
        startAtLogon = IsDlgButtonChecked(IDC_START_WITH_WINDOWS) == BST_CHECKED;
        break;
    }
    return FALSE;
}

void GeneralPage::UpdateSoundControls()
{
    BOOL enable = IsDlgButtonChecked(IDC_SOUND_ON_INSERT) == BST_CHECKED;
    EnableControl(IDC_SOUND_FILE_LABEL, enable);
    EnableControl(IDC_SOUND_FILE, enable);
    EnableControl(IDC_BROWSE_SOUND, enable);
}

void GeneralPage::BrowseSoundFile()
{
    char initial[MAX_PATH] = "";
    GetDlgItemText(IDC_SOUND_FILE, initial, sizeof initial);
    FileDialog dialog(TRUE, app.sheet.hwnd, initial, SoundFilter, 0, nullptr,
                      OFN_HIDEREADONLY | OFN_ENABLESIZING, nullptr);
    if (dialog.DoModal() == IDOK)
        SetDlgItemText(IDC_SOUND_FILE, dialog.GetFileName());
}

void GeneralPage::ShowStartup()
{
    char player[MAX_PATH];
    ReplaceFileName(player, sizeof player, app.modulePath, "velkin.exe");
    startup.Read(player);
    // Ticked only when the player will start at logon; a value of another
    // copy, or one disabled in Task Manager, is said below the box instead.
    startAtLogon = startup.StartsHere();
    CheckDlgButton(IDC_START_WITH_WINDOWS, startAtLogon ? BST_CHECKED : BST_UNCHECKED);
    if (startup.NamesElsewhere()) {
        SetDlgItemText(IDC_STARTUP_NOTE, "別の場所のプレイヤーが登録されています:");
        SetDlgItemText(IDC_STARTUP_PATH, startup.registered);
    } else if (startup.NamesPlayer() && startup.disabled) {
        SetDlgItemText(IDC_STARTUP_NOTE, "タスク マネージャーで無効にされています");
    }
}

bool GeneralPage::ApplyStartup()
{
    if (startup.Apply(startAtLogon))
        return true;
    char text[512];
    FormatText(text, sizeof text, "レジストリに書き込めませんでした。\n%s\n\n「Windowsの起動時に起動する」は保存されていません。",
               startup.failedKey);
    ::MessageBoxA(nullptr, text, app.title, MB_OK | MB_ICONERROR);
    return false;
}
