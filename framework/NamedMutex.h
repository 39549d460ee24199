#pragma once

// True when some process holds a mutex of this name. Opening it is the test;
// the handle is closed again at once.
bool NamedMutexExists(const char* name);
