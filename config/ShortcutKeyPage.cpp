#include "ShortcutKeyPage.h"

#include "ConfigApp.h"
#include "KeyTable.h"
#include "resource.h"

// Modifier boxes in the order of their bits (Alt 1, Ctrl 2, Shift 4, Windows 8).
static const int ModifierBoxes[] = {IDC_ALT_KEY, IDC_CTRL_KEY, IDC_SHIFT_KEY, IDC_WIN_KEY};

ShortcutKeyPage::ShortcutKeyPage(ConfigApp& application)
    : ConfigPage(application, IDD_SHORTCUT_PAGE, IDI_SHORTCUT)
{
}

ShortcutKeyPage::~ShortcutKeyPage() {}

LRESULT ShortcutKeyPage::OnInitDialog(UINT, WPARAM, LPARAM)
{
    commandList.Attach(GetDlgItem(IDC_COMMAND_LIST));
    keyList.Attach(GetDlgItem(IDC_KEY_COMBO));
    for (int i = 0; i < CommandCount; ++i)
        commandList.AddString(CommandTable[i].label);
    for (int i = 0; i < KeyTableCount; ++i)
        keyList.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(KeyTable[i].label));
    commandList.SetCurSel(0);
    ShowBinding();
    CheckDlgButton(IDC_MEDIA_KEYS, app.settings.MediaKeys ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

LRESULT ShortcutKeyPage::OnCommand(UINT, WPARAM wParam, LPARAM)
{
    WORD code = HIWORD(wParam);
    switch (LOWORD(wParam)) {
    case IDC_COMMAND_LIST:
        if (code == LBN_SELCHANGE)
            ShowBinding();
        break;
    case IDC_KEY_COMBO:
        if (code == CBN_SELCHANGE)
            StoreBinding();
        break;
    case IDC_ALT_KEY:
    case IDC_CTRL_KEY:
    case IDC_SHIFT_KEY:
    case IDC_WIN_KEY:
        // The boxes have BS_NOTIFY; their focus notifications change nothing.
        if (code == BN_CLICKED)
            StoreBinding();
        break;
    case IDC_RESET_KEYS:
        ResetBindings();
        break;
    case IDC_MEDIA_KEYS:
        if (code == BN_CLICKED)
            app.settings.MediaKeys = IsDlgButtonChecked(IDC_MEDIA_KEYS) == BST_CHECKED;
        break;
    }
    return FALSE;
}

void ShortcutKeyPage::ShowBinding()
{
    int command = commandList.GetCurSel();
    if (command < 0 || command >= CommandCount)
        return;
    int value = app.settings.hotKeys[command];
    // Only the low byte names the key; a code the list lacks shows the
    // command's default key, and the stored value stays until edited.
    int index = FindKeyTableIndex(static_cast<unsigned>(value) & 0xFF);
    if (index < 0)
        index = FindKeyTableIndex(static_cast<unsigned>(CommandTable[command].defaultValue) & 0xFF);
    if (index < 0)
        index = 0;
    keyList.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    unsigned modifiers = HotKeyModifiers(value);
    for (int bit = 0; bit < 4; ++bit)
        CheckDlgButton(ModifierBoxes[bit], (modifiers >> bit) & 1 ? BST_CHECKED : BST_UNCHECKED);
}

void ShortcutKeyPage::StoreBinding()
{
    int command = commandList.GetCurSel();
    int key = static_cast<int>(keyList.SendMessage(CB_GETCURSEL, 0, 0));
    if (command < 0 || command >= CommandCount || key < 0 || key >= KeyTableCount)
        return;
    unsigned modifiers = 0;
    for (int bit = 0; bit < 4; ++bit)
        if (IsDlgButtonChecked(ModifierBoxes[bit]) == BST_CHECKED)
            modifiers |= 1u << bit;
    app.settings.hotKeys[command] = MakeHotKeyValue(modifiers, KeyTable[key].code);
}

void ShortcutKeyPage::ResetBindings()
{
    if (MessageBox("すべてのショートカットキーを初期設定に戻しますか?", app.title, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    for (int i = 0; i < CommandCount; ++i)
        app.settings.hotKeys[i] = CommandTable[i].defaultValue;
    ShowBinding();
}
