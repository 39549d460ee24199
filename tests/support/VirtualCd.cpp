#include "VirtualCd.h"

#include "DriveFile.h"

#include <winioctl.h>

#include <algorithm>
#include <string.h>

namespace {

bool ReadVariable(const char* name, std::string& value)
{
    char buffer[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer)
        return false;
    value.assign(buffer, n);
    return true;
}

std::string Section(char letter)
{
    return std::string(1, static_cast<char>(toupper(static_cast<unsigned char>(letter))));
}

std::string LabelPath(char letter)
{
    return Section(letter) + ":\\.windows-label";
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
const DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
const DWORD kQueryUnixDrive = CTL_CODE(0x6D, 33, METHOD_BUFFERED, FILE_READ_ACCESS);

// Wine's mount manager reads a drive's label once, when it sets the drive
// up. Taking the drive away and defining it again, as winecfg does, makes it
// read the label file anew. Does nothing outside Wine.
void RereadWineLabel(char letter)
{
    HANDLE manager = CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return;
    union {
        WineUnixDrive drive;
        char bytes[1024];
    } query = {};
    query.drive.size = sizeof query;
    query.drive.letter = static_cast<WCHAR>(tolower(static_cast<unsigned char>(letter)));
    DWORD got = 0;
    if (DeviceIoControl(manager, kQueryUnixDrive, &query, sizeof query.drive, &query, sizeof query, &got, nullptr) &&
        query.drive.mountPointOffset && query.drive.mountPointOffset < sizeof query) {
        query.bytes[sizeof query - 1] = '\0';
        std::string mountPoint = query.bytes + query.drive.mountPointOffset;
        ULONG type = query.drive.type;

        WineUnixDrive remove = {};
        remove.size = sizeof remove;
        remove.letter = query.drive.letter;
        DeviceIoControl(manager, kDefineUnixDrive, &remove, sizeof remove, nullptr, 0, &got, nullptr);

        union {
            WineUnixDrive drive;
            char bytes[1024];
        } define = {};
        if (mountPoint.size() < sizeof define - sizeof define.drive) {
            define.drive.type = type;
            define.drive.letter = query.drive.letter;
            define.drive.mountPointOffset = sizeof define.drive;
            memcpy(define.bytes + sizeof define.drive, mountPoint.c_str(), mountPoint.size() + 1);
            define.drive.size = static_cast<ULONG>(sizeof define.drive + mountPoint.size() + 1);
            DeviceIoControl(manager, kDefineUnixDrive, &define, define.drive.size, nullptr, 0, &got, nullptr);
        }
    }
    CloseHandle(manager);
}

} // namespace

VirtualCd::VirtualCd()
{
    statePath = folder.File("vcdaudio.ini");
    logPath = folder.File("vcdaudio.log");
    hadState = ReadVariable("VCDAUDIO_STATE", oldState);
    hadLog = ReadVariable("VCDAUDIO_LOG", oldLog);
    SetEnvironmentVariableA("VCDAUDIO_STATE", statePath.c_str());
    SetEnvironmentVariableA("VCDAUDIO_LOG", logPath.c_str());

    DriveFile file;
    file.Set("Drives", "Default", "E");
    file.Set("Drives", "Speed", "100");
    for (char letter : {'D', 'E'}) {
        file.Set(Section(letter).c_str(), "Media", "0");
        file.Set(Section(letter).c_str(), "Door", "0");
    }
    file.Save(statePath);
    ClearLog();
}

VirtualCd::~VirtualCd()
{
    for (char letter : labelled) {
        DeleteFileA(LabelPath(letter).c_str());
        RereadWineLabel(letter);
    }
    Restore("VCDAUDIO_STATE", oldState, hadState);
    Restore("VCDAUDIO_LOG", oldLog, hadLog);
    DeleteFileA(logPath.c_str());
}

void VirtualCd::Restore(const char* name, const std::string& value, bool existed)
{
    SetEnvironmentVariableA(name, existed ? value.c_str() : nullptr);
}

void VirtualCd::SetValue(const std::string& section, const std::string& key, const std::string& value)
{
    DriveFile file;
    file.Load(statePath);
    file.Set(section.c_str(), key.c_str(), value);
    file.Save(statePath);
}

std::string VirtualCd::Value(const std::string& section, const std::string& key) const
{
    DriveFile file;
    file.Load(statePath);
    return file.Get(section.c_str(), key.c_str());
}

void VirtualCd::SetSpeed(int factor)
{
    SetValue("Drives", "Speed", std::to_string(factor));
}

void VirtualCd::SetDefaultDrive(char letter)
{
    SetValue("Drives", "Default", Section(letter));
}

void VirtualCd::InsertDisc(char letter, const std::string& tracks, const std::string& upc)
{
    // One save, so the driver never sees a disc with the old table.
    DriveFile file;
    file.Load(statePath);
    std::string section = Section(letter);
    file.Set(section.c_str(), "Media", "1");
    file.Set(section.c_str(), "Door", "0");
    file.Set(section.c_str(), "Tracks", tracks);
    file.Set(section.c_str(), "Upc", upc);
    file.Save(statePath);
}

void VirtualCd::RemoveDisc(char letter)
{
    SetValue(Section(letter), "Media", "0");
}

void VirtualCd::SetDoor(char letter, bool open)
{
    SetValue(Section(letter), "Door", open ? "1" : "0");
}

bool VirtualCd::IsDoorOpen(char letter) const
{
    return Value(Section(letter), "Door") == "1";
}

void VirtualCd::SetLabel(char letter, const std::string& label)
{
    char upper = Section(letter)[0];
    if (label.empty()) {
        DeleteFileA(LabelPath(upper).c_str());
    } else {
        WriteWholeFile(LabelPath(upper), label);
        if (std::find(labelled.begin(), labelled.end(), upper) == labelled.end())
            labelled.push_back(upper);
    }
    RereadWineLabel(upper);
}

std::string VirtualCd::Log() const
{
    return ReadWholeFile(logPath);
}

std::vector<std::string> VirtualCd::LogLines(const std::string& containing) const
{
    std::vector<std::string> lines;
    std::string text = Log();
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        if (!line.empty() && line.find(containing) != std::string::npos)
            lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

void VirtualCd::ClearLog()
{
    HANDLE file = CreateFileA(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}
