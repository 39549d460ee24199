#include "NamedMutex.h"

#include <windows.h>

bool NamedMutexExists(const char* name)
{
    HANDLE mutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name);
    if (!mutex)
        return false;
    CloseHandle(mutex);
    return true;
}
