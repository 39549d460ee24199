// Another program at the keyboard. "press <vk>" presses a key and lets it go,
// as the user does; otherwise it registers each value that the environment
// variable VELKIN_HELD_KEYS lists (modifiers * 65536 + virtual-key code, in
// decimal, each followed by a blank) and keeps them until it is ended.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    if (strncmp(commandLine, "press ", 6) == 0) {
        BYTE key = static_cast<BYTE>(atoi(commandLine + 6));
        keybd_event(key, 0, 0, 0), keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        return 0;
    }
    char keys[512] = "";
    GetEnvironmentVariableA("VELKIN_HELD_KEYS", keys, sizeof keys);
    int id = 0;
    for (char* next = keys; *next;) {
        long value = strtol(next, &next, 10);
        RegisterHotKey(nullptr, ++id, static_cast<unsigned long>(value) >> 16, value & 0xFFFF);
        while (*next == ' ')
            ++next;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
