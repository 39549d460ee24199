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
//
// Exit codes: 0 sent, 1 no player window, 2 bad arguments, 3 not delivered.
#include <windows.h>
#include <dbt.h>

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
          "               device arrival|removal [letter] | cancelmenu | exit\n",
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
    if (strcmp(verb, "exit") == 0)
        return Post(window, WM_COMMAND, ExitCommand, 0);
    return Usage();
}
