#include "StartupEntry.h"

#include "Text.h"

const char StartupEntry::ValueName[] = "Velkin";
const char StartupEntry::RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char StartupEntry::ApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

StartupEntry::StartupEntry() : player(), registered(), disabled(false), failedKey() {}

// Reads a value of the current user's key into data; false when there is none.
static bool QueryValue(const char* keyName, DWORD* type, BYTE* data, DWORD capacity)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = capacity;
    LONG status = RegQueryValueExA(key, StartupEntry::ValueName, nullptr, type, data, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// The program a command line starts: the text within its leading quotes, or
// the whole line when it has none.
static void TakeProgram(const char* command, char* program, size_t capacity)
{
    if (*command != '"') {
        CopyText(program, capacity, command);
        return;
    }
    CopyText(program, capacity, command + 1);
    for (char* p = program; *p != '\0'; p = CharNextA(p))
        if (*p == '"')
            *p = '\0';
}

void StartupEntry::Read(const char* playerPath)
{
    CopyText(player, sizeof player, playerPath);
    char command[MAX_PATH + 64] = "";
    DWORD type = 0;
    // One byte kept back for the terminator a stored text may lack.
    if (QueryValue(RunKey, &type, reinterpret_cast<BYTE*>(command), sizeof command - 1) &&
        (type == REG_SZ || type == REG_EXPAND_SZ))
        TakeProgram(command, registered, sizeof registered);
    else
        registered[0] = '\0';
    // Task Manager keeps 12 bytes (room is left for more); an odd first
    // byte means disabled.
    BYTE mark[32] = {};
    disabled = QueryValue(ApprovedKey, &type, mark, sizeof mark) && type == REG_BINARY && (mark[0] & 1) != 0;
}

bool StartupEntry::NamesPlayer() const
{
    return registered[0] != '\0' && lstrcmpiA(registered, player) == 0;
}

bool StartupEntry::StartsHere() const
{
    return NamesPlayer() && !disabled;
}

bool StartupEntry::NamesElsewhere() const
{
    return registered[0] != '\0' && !NamesPlayer();
}

bool StartupEntry::Write()
{
    char command[MAX_PATH + 2];
    FormatText(command, sizeof command, "\"%s\"", player);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, RunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, ValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                                 static_cast<DWORD>(lstrlenA(command) + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// A value that is not there counts as deleted.
bool StartupEntry::Delete(const char* keyName)
{
    HKEY key;
    LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, keyName, 0, KEY_SET_VALUE, &key);
    if (status == ERROR_FILE_NOT_FOUND)
        return true;
    if (status != ERROR_SUCCESS)
        return false;
    status = RegDeleteValueA(key, ValueName);
    RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool StartupEntry::Apply(bool start)
{
    failedKey[0] = '\0';
    if (start == StartsHere())
        return true;  // as the user found it: a choice made elsewhere stays
    const char* key = nullptr;
    if (!start)
        key = Delete(RunKey) ? nullptr : RunKey;
    else if (!Write())
        key = RunKey;
    // The user has just asked for the player at logon, over Task Manager's
    // "disabled" (a mark left behind by a deleted value would hold the new
    // one too). The mark is deleted rather than rewritten as enabled: with
    // no mark Windows starts the value as it did before anyone disabled it,
    // and we invent none of the bytes it keeps there.
    else if (disabled && !Delete(ApprovedKey))
        key = ApprovedKey;
    if (key != nullptr)
        FormatText(failedKey, sizeof failedKey, "HKEY_CURRENT_USER\\%s", key);
    return key == nullptr;
}
