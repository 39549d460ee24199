#include "VirtualCd.h"

#include "DriveFile.h"

#include <winioctl.h>

#include <sstream>
#include <string.h>

namespace {

const char Unset[] = "\n";  // no path holds a line break

// Sets an environment variable; gives back its value before, or Unset.
std::string Exchange(const char* name, const std::string& value)
{
    char old[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableA(name, old, sizeof old);
    SetEnvironmentVariableA(name, value == Unset ? nullptr : value.c_str());
    return n > 0 && n < sizeof old ? std::string(old, n) : Unset;
}

// Wine's mount manager drive record (its public interface for winecfg).
struct WineUnixDrive {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
union WineUnixDriveBuffer {
    WineUnixDrive drive;
    char bytes[1024];
};
const DWORD DefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
const DWORD QueryUnixDrive = CTL_CODE(0x6D, 33, METHOD_BUFFERED, FILE_READ_ACCESS);

// Wine's mount manager reads a drive's label once, when it sets the drive
// up. Taking the drive away and defining it again, as winecfg does, makes it
// read the label file anew. Does nothing outside Wine.
void RereadWineLabel(char letter)
{
    HANDLE manager = CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return;
    WineUnixDriveBuffer query = {};
    query.drive.size = sizeof query;
    query.drive.letter = static_cast<WCHAR>(tolower(static_cast<unsigned char>(letter)));
    DWORD got = 0;
    if (DeviceIoControl(manager, QueryUnixDrive, &query, sizeof query.drive, &query, sizeof query, &got, nullptr) &&
        query.drive.mountPointOffset >= sizeof query.drive && query.drive.mountPointOffset < sizeof query) {
        query.bytes[sizeof query - 1] = '\0';
        std::string mountPoint = query.bytes + query.drive.mountPointOffset;
        WineUnixDriveBuffer define = {};
        define.drive.size = sizeof define.drive;  // without a mount point: takes the drive away
        define.drive.letter = query.drive.letter;
        DeviceIoControl(manager, DefineUnixDrive, &define, define.drive.size, nullptr, 0, &got, nullptr);
        define.drive.type = query.drive.type;  // then again with its mount point, which fits as it did
        define.drive.mountPointOffset = sizeof define.drive;
        memcpy(define.bytes + sizeof define.drive, mountPoint.c_str(), mountPoint.size() + 1);
        define.drive.size = static_cast<ULONG>(sizeof define.drive + mountPoint.size() + 1);
        DeviceIoControl(manager, DefineUnixDrive, &define, define.drive.size, nullptr, 0, &got, nullptr);
    }
    CloseHandle(manager);
}

} // namespace

VirtualCd::VirtualCd() : statePath(folder.File("vcdaudio.ini")), logPath(folder.File("vcdaudio.log"))
{
    WriteWholeFile(statePath, "[Drives]\r\nDefault=E\r\nSpeed=100\r\n"
                              "[D]\r\nMedia=0\r\nDoor=0\r\n[E]\r\nMedia=0\r\nDoor=0\r\n");
    ClearLog();
    oldState = Exchange("VCDAUDIO_STATE", statePath);
    oldLog = Exchange("VCDAUDIO_LOG", logPath);
}

VirtualCd::~VirtualCd()
{
    for (char letter : labelled) {
        DeleteFileA((std::string(1, letter) + ":\\.windows-label").c_str());
        RereadWineLabel(letter);
    }
    Exchange("VCDAUDIO_STATE", oldState);
    Exchange("VCDAUDIO_LOG", oldLog);
}

void VirtualCd::Set(const std::string& section, const std::vector<std::pair<const char*, std::string>>& values)
{
    DriveFile file;
    file.Load(statePath);
    for (const auto& value : values)
        file.Set(section.c_str(), value.first, value.second);
    file.Save(statePath);
}

bool VirtualCd::IsDoorOpen(char letter) const
{
    DriveFile file;
    file.Load(statePath);
    return file.Get(std::string(1, letter).c_str(), "Door") == "1";
}

void VirtualCd::SetLabel(char letter, const std::string& label)
{
    WriteWholeFile(std::string(1, letter) + ":\\.windows-label", label);
    if (labelled.find(letter) == std::string::npos)
        labelled += letter;
    RereadWineLabel(letter);
}

std::vector<std::string> VirtualCd::LogLines(const std::string& containing) const
{
    std::vector<std::string> lines;
    std::istringstream log(Log());
    for (std::string line; std::getline(log, line);) {
        line.erase(line.find_last_not_of('\r') + 1);
        if (!line.empty() && line.find(containing) != std::string::npos)
            lines.push_back(line);
    }
    return lines;
}

