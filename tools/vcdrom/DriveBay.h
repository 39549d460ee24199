#pragma once

#include "DriveFile.h"
#include "VirtualDrive.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// Every drive of this process, kept in step with the drive file, and the
// thread that ends simulated plays on time. One per loaded driver.
class DriveBay {
public:
    DriveBay();
    ~DriveBay();

    void Lock() { EnterCriticalSection(&lock); }
    void Unlock() { LeaveCriticalSection(&lock); }

    // Seconds of a steady real-time clock.
    static double Now();

    // The rest need the lock.

    // Reads the drive file again when its text or path has changed.
    void Refresh(double now);
    // The drive of a letter, made on first use.
    VirtualDrive& Drive(char letter, double now);
    // True when the letter names a drive: one in the drive file or a CD-ROM
    // letter of the system.
    bool IsDrive(char letter) const;
    // The drive an open without a drive letter uses; 0 when there is none.
    char DefaultDrive() const;
    // Writes the door into the drive file; the next Refresh applies it.
    bool WriteDoor(char letter, bool open);
    // Wakes the timer thread after a play has started.
    void PlayStarted();

    // Ends the timer thread; before the driver is unloaded.
    void Shutdown();

    static std::string StatePath();
    static std::string LogPath();

private:
    static DWORD WINAPI TimerThread(void* self);
    void RunTimer();
    void Apply(VirtualDrive& drive, double now);
    double NextWake(double now) const;

    CRITICAL_SECTION lock;
    std::vector<std::unique_ptr<VirtualDrive>> drives;
    std::string statePath;
    bool loaded = false;
    DriveFile file;
    HANDLE thread = nullptr;
    HANDLE wake = nullptr;
    bool stopping = false;
};

extern DriveBay bay;

// Holds the bay's lock for a scope.
class BayLock {
public:
    BayLock() { bay.Lock(); }
    ~BayLock() { bay.Unlock(); }
    BayLock(const BayLock&) = delete;
    BayLock& operator=(const BayLock&) = delete;
};
