#pragma once

#include <windows.h>

#include <string>

// Helpers shared by the test programs.

// Folder of the running test program, with its trailing backslash.
std::string ProgramFolder();

// A fresh empty folder under the temporary folder, removed with its files
// when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return path; }
    std::string File(const char* name) const { return path + name; }

private:
    std::string path;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// Starts a program with the given command line (program path included) and
// waits for its end. Returns its exit code, or -1 when it could not start or
// did not end within the time limit.
int RunProgram(const std::string& commandLine, DWORD timeoutMs = 30000);

// A named mutex made with the given security (in SDDL), as a program that
// runs with other rights makes one; null when it could not be made. The
// caller closes it.
HANDLE CreateGuardedMutex(const char* name, const char* sddl);
// Security that this process may not pass: a mutex that belongs to the
// system and lets only the system in, as a service makes it.
extern const char SystemOnly[];
// Security that lets nobody do more than the owner may: waiting, but not
// the full access a plain open asks for.
extern const char NoGrants[];

// Handles every message waiting for this thread.
void DrainMessages();

// Handles messages until done() holds or the time runs out.
template <typename Condition>
bool PumpUntil(Condition done, DWORD timeoutMs = 5000)
{
    for (DWORD start = GetTickCount(); !done(); DrainMessages()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
