#include "DriveBay.h"

#include <stdlib.h>

DriveBay bay;

namespace {

// While a play runs, the drive file is read this often, so a disc taken out
// ends the play even when the program sends no command.
const double kPollSeconds = 0.05;

std::string Upper(char letter)
{
    return std::string(1, static_cast<char>(toupper(static_cast<unsigned char>(letter))));
}

// The file named by the environment variable, else beside this DLL.
std::string PathFrom(const char* variable, const char* fileName)
{
    char buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(variable, buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer)
        return std::string(buffer, n);
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&PathFrom), &self);
    n = GetModuleFileNameA(self, buffer, sizeof buffer);
    std::string path(buffer, n < sizeof buffer ? n : 0);
    size_t slash = path.find_last_of("\\/");
    path = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return path + fileName;
}

} // namespace

DriveBay::DriveBay()
{
    InitializeCriticalSection(&lock);
}

DriveBay::~DriveBay()
{
    DeleteCriticalSection(&lock);
}

double DriveBay::Now()
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string DriveBay::StatePath()
{
    return PathFrom("VCDAUDIO_STATE", "vcdaudio.ini");
}

std::string DriveBay::LogPath()
{
    return PathFrom("VCDAUDIO_LOG", "vcdaudio.log");
}

void DriveBay::Refresh(double now)
{
    std::string path = StatePath();
    DriveFile fresh;
    if (!fresh.Load(path)) {
        DWORD error = GetLastError();
        // A file that is there but could not be read keeps the last state.
        if (loaded && path == statePath && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            return;
    }
    if (loaded && path == statePath && fresh.Text() == file.Text())
        return;
    loaded = true;
    statePath = path;
    file = fresh;
    for (auto& drive : drives)
        Apply(*drive, now);
}

void DriveBay::Apply(VirtualDrive& drive, double now)
{
    std::string section = Upper(drive.Letter());
    bool media = file.GetInt(section.c_str(), "Media", 0) != 0;
    bool door = file.GetInt(section.c_str(), "Door", 0) != 0;
    std::string tracks = file.Get(section.c_str(), "Tracks");
    std::string identity = statePath + "|" + (media ? "1" : "0") + (door ? "1" : "0") + "|" + tracks;
    drive.SetSpeed(file.GetInt("Drives", "Speed", 1), now);
    drive.SetShortLastTrack(file.GetInt("Drives", "ShortLastTrack", 0) != 0);
    drive.SetEndNotify(file.GetInt(section.c_str(), "EndNotify", 1) != 0);
    drive.Load(identity, media, door, tracks, file.Get(section.c_str(), "Upc"), now);
}

VirtualDrive& DriveBay::Drive(char letter, double now)
{
    char upper = Upper(letter)[0];
    for (auto& drive : drives) {
        if (drive->Letter() == upper)
            return *drive;
    }
    drives.emplace_back(new VirtualDrive(upper));
    Apply(*drives.back(), now);
    return *drives.back();
}

bool DriveBay::IsDrive(char letter) const
{
    std::string section = Upper(letter);
    if (section[0] < 'A' || section[0] > 'Z')
        return false;
    if (file.HasSection(section.c_str()))
        return true;
    std::string root = section + ":\\";
    return GetDriveTypeA(root.c_str()) == DRIVE_CDROM;
}

char DriveBay::DefaultDrive() const
{
    std::string named = file.Get("Drives", "Default");
    if (!named.empty() && IsDrive(named[0]))
        return Upper(named[0])[0];
    for (char letter = 'A'; letter <= 'Z'; letter++) {
        if (IsDrive(letter))
            return letter;
    }
    return 0;
}

bool DriveBay::WriteDoor(char letter, bool open)
{
    DriveFile current;
    current.Load(statePath);
    current.Set(Upper(letter).c_str(), "Door", open ? "1" : "0");
    return current.Save(statePath);
}

void DriveBay::PlayStarted()
{
    if (!wake)
        wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!thread && wake) {
        stopping = false;
        thread = CreateThread(nullptr, 0, &DriveBay::TimerThread, this, 0, nullptr);
    }
    if (wake)
        SetEvent(wake);
}

void DriveBay::Shutdown()
{
    HANDLE ending = nullptr;
    Lock();
    if (thread) {
        stopping = true;
        SetEvent(wake);
        ending = thread;
        thread = nullptr;
    }
    Unlock();
    if (ending) {
        WaitForSingleObject(ending, 5000);
        CloseHandle(ending);
    }
}

double DriveBay::NextWake(double now) const
{
    double next = -1;
    for (auto& drive : drives) {
        double deadline = drive->Deadline();
        if (deadline < 0)
            continue;
        if (deadline > now + kPollSeconds)
            deadline = now + kPollSeconds;
        if (next < 0 || deadline < next)
            next = deadline;
    }
    return next;
}

DWORD WINAPI DriveBay::TimerThread(void* self)
{
    static_cast<DriveBay*>(self)->RunTimer();
    return 0;
}

void DriveBay::RunTimer()
{
    for (;;) {
        DWORD wait = INFINITE;
        {
            BayLock hold;
            if (stopping)
                return;
            double now = Now();
            Refresh(now);
            for (auto& drive : drives)
                drive->Settle(now);
            double next = NextWake(now);
            if (next >= 0)
                wait = static_cast<DWORD>((next - now) * 1000.0) + 1;
        }
        WaitForSingleObject(wake, wait);
    }
}
