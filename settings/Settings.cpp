#include "Settings.h"

#include "Text.h"

const char SettingsFileName[] = "velkin.ini";

const char DefaultSstpScript[] =
    "Script: \\h\\s0「$」を演奏するよっ。\\n\\n\\u\\w9「#」の\\n『&』やな。\\n\\n\\h\\w9\\s5これって、"
    "%dmsみたいな曲だよね。\\n\\n\\u\\w9……\\w9なんやそれ。\\h\\w9\\s4さあ？\\_w[3000]\\s0\\e";

const char DefaultCddbServer[] = "gnudb.gnudb.org";
const char DefaultCddbPath[] = "/~cddb/cddb.cgi";

static const char General[] = "General";
static const char Sstp[] = "SSTP";
static const char HotKey[] = "HotKey";
static const char Cddb[] = "CDDB";

void BuildSettingsPath(const char* modulePath, char* settingsPath, size_t capacity)
{
    ReplaceFileName(settingsPath, capacity, modulePath, SettingsFileName);
}

static void BuildDefaultSoundFile(char* text, size_t capacity)
{
    char windowsDir[MAX_PATH] = "";
    GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    CopyText(text, capacity, windowsDir);
    AppendText(text, capacity, "\\media\\chimes.wav");
}

static int ReadInt(const ProfileFile& file, const char* section, const char* key, int defaultValue)
{
    return static_cast<int>(file.GetInt(section, key, defaultValue));
}

// Through a buffer larger than the field, then cut between characters: a
// profile read cut at the buffer's end may leave half a character there.
static void ReadText(const ProfileFile& file, const char* section, const char* key, const char* defaultValue,
                     char* text, size_t capacity)
{
    char value[4096] = {};
    file.GetString(section, key, defaultValue, value, sizeof value - 1);
    CopyText(text, capacity, value);
}

static void LoadCddbSettings(const ProfileFile& file, Settings& s)
{
    s.CddbLookup = ReadInt(file, Cddb, "Lookup", 0);
    ReadText(file, Cddb, "Server", DefaultCddbServer, s.CddbServer, sizeof s.CddbServer);
    s.CddbPort = static_cast<unsigned short>(ReadInt(file, Cddb, "Port", DefaultCddbPort) & 0xFFFF);
    ReadText(file, Cddb, "Path", DefaultCddbPath, s.CddbPath, sizeof s.CddbPath);
    ReadText(file, Cddb, "Email", "", s.CddbEmail, sizeof s.CddbEmail);
}

// A drive beyond A: to Z: has no letter; such a value means the default device.
static int ReadDrive(const ProfileFile& file)
{
    int drive = ReadInt(file, General, "Drive", -1);
    return drive >= -1 && drive <= 25 ? drive : -1;
}

void LoadSettings(const ProfileFile& file, Settings& s)
{
    char defaultSound[MAX_PATH];
    BuildDefaultSoundFile(defaultSound, sizeof defaultSound);

    s.PlayOnExec = ReadInt(file, General, "PlayOnExec", 0);
    s.PlayOnInsert = ReadInt(file, General, "PlayOnInsert", 1);
    s.SoundOnInsert = ReadInt(file, General, "SoundOnInsert", 1);
    s.SendSstpMsg = ReadInt(file, Sstp, "SendSstpMsg", 0);
    s.CheckSstpServer = ReadInt(file, Sstp, "CheckSstpServer", 1);
    ReadText(file, General, "SoundFile", defaultSound, s.SoundFile, sizeof s.SoundFile);
    s.IntroTime = ReadInt(file, General, "IntroTime", 10);
    s.Drive = ReadDrive(file);
    ReadText(file, Sstp, "SstpServer", "localhost", s.SstpServer, sizeof s.SstpServer);
    s.SstpPort = static_cast<unsigned short>(ReadInt(file, Sstp, "SstpPort", 9801) & 0xFFFF);
    ReadText(file, Sstp, "SstpScript", DefaultSstpScript, s.SstpScript, sizeof s.SstpScript);
    for (int i = 0; i < CommandCount; ++i)
        s.hotKeys[i] = ReadInt(file, HotKey, CommandTable[i].key, CommandTable[i].defaultValue);
    s.MediaKeys = ReadInt(file, HotKey, "MediaKeys", 1) != 0;
    LoadCddbSettings(file, s);
}

namespace {

// Counts the writes of one save and stops at the first that fails, so the
// outcome says truly whether the file was left as it was.
class SaveSteps {
public:
    explicit SaveSteps(ProfileFile& file) : file(file), written(0), failed(false) {}

    void Int(const char* section, const char* key, int value)
    {
        if (!failed)
            Count(file.WriteInt(section, key, value));
    }
    void Text(const char* section, const char* key, const char* value)
    {
        if (!failed)
            Count(file.WriteString(section, key, value));
    }
    SaveResult Result() const { return !failed ? SavedAll : written == 0 ? SavedNothing : SavedPart; }

private:
    void Count(BOOL ok)
    {
        if (ok)
            ++written;
        else
            failed = true;
    }

    ProfileFile& file;
    int written;
    bool failed;
};

}  // namespace

SaveResult SaveSettings(ProfileFile& file, const Settings& s)
{
    SaveSteps save(file);
    save.Int(General, "PlayOnExec", s.PlayOnExec);
    save.Int(General, "PlayOnInsert", s.PlayOnInsert);
    save.Int(General, "SoundOnInsert", s.SoundOnInsert);
    save.Int(Sstp, "SendSstpMsg", s.SendSstpMsg);
    save.Int(Sstp, "CheckSstpServer", s.CheckSstpServer);
    save.Text(General, "SoundFile", s.SoundFile);
    save.Int(General, "IntroTime", s.IntroTime);
    save.Text(Sstp, "SstpServer", s.SstpServer);
    save.Int(Sstp, "SstpPort", s.SstpPort);
    save.Text(Sstp, "SstpScript", s.SstpScript);
    for (int i = 0; i < CommandCount; ++i)
        save.Int(HotKey, CommandTable[i].key, s.hotKeys[i]);
    save.Int(HotKey, "MediaKeys", s.MediaKeys);
    save.Int(Cddb, "Lookup", s.CddbLookup);
    save.Text(Cddb, "Server", s.CddbServer);
    save.Int(Cddb, "Port", s.CddbPort);
    save.Text(Cddb, "Path", s.CddbPath);
    save.Text(Cddb, "Email", s.CddbEmail);
    return save.Result();
}

bool SaveDrive(ProfileFile& file, int drive)
{
    return file.WriteInt(General, "Drive", drive) != FALSE;
}
