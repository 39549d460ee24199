// vlksend: sends one message to the running player's hidden window, as
// another program, the notification area or the system would.
//
//   vlksend find                  exit code 0 when the player's window exists
//   vlksend command <index>       the registered "VelkinSendCommand", wParam = index
//   vlksend menu <id>             WM_COMMAND with a menu command id
//   vlksend tray left|right       the tray icon's callback: a button press
//   vlksend device arrival|removal [letter]
//                                 WM_DEVICECHANGE broadcast for a volume
//   vlksend cancelmenu            WM_CANCELMODE: closes an open popup menu
//   vlksend exit                  WM_COMMAND "終了" (40007)
//   vlksend close                 closes the player's open dialogs (their close box)
//   vlksend sheet <page>|ok|cancel
//                                 the configuration program's sheet: shows a
//                                 page (0 to 3), or presses OK or Cancel
//
// Exit codes: 0 sent, 1 no player window, 2 bad arguments, 3 not delivered.
#include <windows.h>
#include <commctrl.h>
#include <dbt.h>
#include <prsht.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const char PlayerClass[] = "VelkinPlayerWndClass";
const UINT TrayCallback = WM_APP;
const WPARAM ExitCommand = 40007;
const UINT DeliveryTimeoutMs = 10000;

int Usage()
{
    fputs("usage: vlksend find | command <index> | menu <id> | tray left|right |\n"
          "               device arrival|removal [letter] | cancelmenu | close | exit |\n"
          "               sheet 0|1|2|3|ok|cancel\n",
          stderr);
    return 2;
}

bool ParseNumber(const char* text, unsigned long* value)
{
    char* end = nullptr;
    *value = strtoul(text, &end, 0);
    return end != text && *end == '\0';
}

int Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PostMessageA(window, message, wParam, lParam) ? 0 : 3;
}

// Posting is refused for device events that carry data, so the broadcast
// is sent, with a real volume record behind lParam.
int BroadcastDeviceChange(bool arrival, char letter)
{
    DEV_BROADCAST_VOLUME volume = {};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (letter - 'A');
    volume.dbcv_flags = DBTF_MEDIA;
    DWORD_PTR result = 0;
    WPARAM event = arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    if (!SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume),
                             SMTO_ABORTIFHUNG, DeliveryTimeoutMs, &result))
        return 3;
    return 0;
}

struct DialogSearch {
    DWORD processId;  // 0: any process
    bool needTabs;
    HWND found[16];
    int count;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const int tabControl = 0x3020;
    if (strcmp(className, "#32770") == 0 && IsWindowVisible(window) &&
        (search->processId == 0 || processId == search->processId) &&
        (!search->needTabs || GetDlgItem(window, tabControl)) && search->count < 16)
        search->found[search->count++] = window;
    return TRUE;
}

int CloseDialogs(HWND player)
{
    DialogSearch search = {};
    GetWindowThreadProcessId(player, &search.processId);
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    for (int i = 0; i < search.count; ++i)
        PostMessageA(search.found[i], WM_CLOSE, 0, 0);
    return 0;
}

int DriveSheet(const char* what)
{
    DialogSearch search = {};
    search.needTabs = true;
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    if (search.count == 0) {
        fputs("vlksend: no configuration sheet is open\n", stderr);
        return 1;
    }
    HWND sheet = search.found[0];
    // A click on the button, as the user makes it.
    if (strcmp(what, "ok") == 0)
        return Post(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    if (strcmp(what, "cancel") == 0)
        return Post(GetDlgItem(sheet, IDCANCEL), BM_CLICK, 0, 0);
    unsigned long page = 0;
    if (!ParseNumber(what, &page))
        return Usage();
    return Post(sheet, PSM_SETCURSEL, page, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const char* verb = argv[1];
    HWND window = FindWindowA(PlayerClass, nullptr);
    if (strcmp(verb, "find") == 0)
        return window ? 0 : 1;

    unsigned long number = 0;
    if (strcmp(verb, "device") == 0) {
        if (argc < 3 || (strcmp(argv[2], "arrival") != 0 && strcmp(argv[2], "removal") != 0))
            return Usage();
        char letter = argc > 3 ? static_cast<char>(argv[3][0] & ~0x20) : 'E';
        if (letter < 'A' || letter > 'Z')
            return Usage();
        return BroadcastDeviceChange(strcmp(argv[2], "arrival") == 0, letter);
    }

    if (strcmp(verb, "sheet") == 0)
        return argc == 3 ? DriveSheet(argv[2]) : Usage();

    if (!window) {
        fputs("vlksend: the player is not running\n", stderr);
        return 1;
    }
    if (strcmp(verb, "command") == 0 && argc == 3 && ParseNumber(argv[2], &number))
        return Post(window, RegisterWindowMessageA("VelkinSendCommand"), number, 0);
    if (strcmp(verb, "menu") == 0 && argc == 3 && ParseNumber(argv[2], &number))
        return Post(window, WM_COMMAND, number, 0);
    if (strcmp(verb, "tray") == 0 && argc == 3) {
        if (strcmp(argv[2], "left") == 0)
            return Post(window, TrayCallback, 0, WM_LBUTTONDOWN);
        if (strcmp(argv[2], "right") == 0)
            return Post(window, TrayCallback, 0, WM_RBUTTONDOWN);
        return Usage();
    }
    if (strcmp(verb, "cancelmenu") == 0)
        return Post(window, WM_CANCELMODE, 0, 0);
    if (strcmp(verb, "close") == 0)
        return CloseDialogs(window);
    if (strcmp(verb, "exit") == 0)
        return Post(window, WM_COMMAND, ExitCommand, 0);
    return Usage();
}
