#pragma once

#include <windows.h>

// True when some process holds a mutex of this name. Only the right to wait
// on it is asked for, and a mutex that this process may not open at all (one
// made by a program running with more rights) counts as there.
bool NamedMutexExists(const char* name);

// Creates the mutex that marks a running instance, owned by the calling
// thread when owned is TRUE. Creating is the test: two programs started at
// the same moment cannot both find it missing. False when another instance
// holds it (also when it is there but this process may not open it);
// *mutex is then null. True otherwise, with the handle in *mutex, null only
// when the system could not make the mutex at all.
bool ClaimNamedMutex(const char* name, BOOL owned, HANDLE* mutex);
