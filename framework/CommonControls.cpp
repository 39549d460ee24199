#include "CommonControls.h"

#include <commctrl.h>

bool LoadCommonControls(DWORD classes)
{
    typedef BOOL(WINAPI * InitFunction)(const INITCOMMONCONTROLSEX*);
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (!library)
        return false;
    InitFunction init =
        reinterpret_cast<InitFunction>(reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = classes;
    return init && init(&controls) != FALSE;
}
