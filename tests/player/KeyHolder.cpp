// Another program that holds hot-keys: registers each value on its command
// line (modifiers * 65536 + virtual-key code, in decimal) and keeps them
// until it is ended.
#include <windows.h>

#include <stdlib.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
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
