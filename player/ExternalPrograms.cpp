#include "ExternalPrograms.h"

#include "Text.h"

#include <shellapi.h>

const char ConfigProgramName[] = "vlkcfg.exe";
const char VolumeControlError[] = "ボリューム コントロールを起動できません。";
const char MultimediaPropertiesError[] = "マルチメディアのプロパティを起動できません。";

// The size of STARTUPINFOA on every Windows of the word size (68 bytes in 32
// bits, 104 in 64); stated so that a newer SDK cannot change what the player
// hands over.
static const DWORD StartupInfoSize = sizeof(void*) == 8 ? 104 : 68;
static_assert(sizeof(STARTUPINFOA) == StartupInfoSize, "STARTUPINFOA");

void BuildConfigProgramPath(const char* modulePath, char* path, size_t capacity)
{
    ReplaceFileName(path, capacity, modulePath, ConfigProgramName);
}

void FormatConfigProgramError(const char* path, char* text, size_t capacity)
{
    FormatText(text, capacity, "設定プログラム\n%s\nを起動できません。", path);
}

bool RunAndWait(const char* path)
{
    STARTUPINFOA startup = {};
    startup.cb = StartupInfoSize;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool FindOnSearchPath(const char* name, char* path, size_t capacity)
{
    if (capacity == 0)
        return false;
    path[0] = '\0';
    DWORD length = SearchPathA(nullptr, name, nullptr, static_cast<DWORD>(capacity), path, nullptr);
    if (length == 0 || length >= capacity) {
        path[0] = '\0';  // not found, or a path too long for the buffer
        return false;
    }
    return true;
}

bool FindVolumeControl(char* path, size_t capacity)
{
    // Windows Vista replaced "sndvol32.exe" by "sndvol.exe".
    return FindOnSearchPath("sndvol32.exe", path, capacity) || FindOnSearchPath("sndvol.exe", path, capacity);
}

static bool Started(HINSTANCE result)
{
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool StartVolumeControl(HWND owner)
{
    char path[MAX_PATH];
    if (!FindVolumeControl(path, sizeof path))
        return false;
    return Started(ShellExecuteA(owner, "open", path, nullptr, nullptr, SW_SHOW));
}

bool StartMultimediaProperties(HWND owner)
{
    char applet[MAX_PATH];
    if (!FindOnSearchPath("mmsys.cpl", applet, sizeof applet))
        return false;
    return Started(ShellExecuteA(owner, "open", "control.exe", applet, nullptr, SW_SHOW));
}
