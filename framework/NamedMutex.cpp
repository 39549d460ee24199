#include "NamedMutex.h"

bool NamedMutexExists(const char* name)
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, name);
    if (!mutex)
        return GetLastError() == ERROR_ACCESS_DENIED;
    CloseHandle(mutex);
    return true;
}

bool ClaimNamedMutex(const char* name, BOOL owned, HANDLE* mutex)
{
    SetLastError(ERROR_SUCCESS);
    *mutex = CreateMutexA(nullptr, owned, name);
    DWORD error = GetLastError();
    if (*mutex && error == ERROR_ALREADY_EXISTS) {
        CloseHandle(*mutex);
        *mutex = nullptr;
        return false;
    }
    return *mutex || error != ERROR_ACCESS_DENIED;
}
