// Another program that holds hot-keys: registers each value that the
// environment variable VELKIN_HELD_KEYS lists (modifiers * 65536 +
// virtual-key code, in decimal, each followed by a blank) and keeps them
// until it is ended.
#include <windows.h>

#include <stdlib.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
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
