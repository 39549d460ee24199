// Another program at the keyboard. "press <vk>" presses a key and lets it go,
// as the user does; otherwise it registers each value on its command line
// (modifiers * 65536 + virtual-key code, in decimal) and keeps them until it
// is ended.
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
    int id = 0;
    for (char* next = commandLine; *next;) {
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
