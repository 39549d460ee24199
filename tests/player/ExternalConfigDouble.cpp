// Stands in for the configuration program in tests: notes the drive that
// velkin.ini beside it holds, moves the Eject hot-key to Ctrl+Alt+Shift+J and
// ends as after OK.
#include <windows.h>

#include <stdio.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return 3;
    char* name = strrchr(path, '\\');  // the test folders have ASCII names
    if (!name || static_cast<size_t>(name + 1 - path) + sizeof "velkin.ini" > sizeof path)
        return 3;
    memcpy(name + 1, "velkin.ini", sizeof "velkin.ini");

    char drive[32];
    GetPrivateProfileStringA("General", "Drive", "none", drive, sizeof drive, path);
    WritePrivateProfileStringA("Test", "DriveSeen", drive, path);
    WritePrivateProfileStringA("HotKey", "Eject", "458826", path);
    return 1;
}
