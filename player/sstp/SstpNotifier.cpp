#include "SstpNotifier.h"

#include "ClientSocket.h"
#include "NamedMutex.h"
#include "ScriptEscape.h"

#include <string.h>

namespace {

// The player's only thread waits for the connect; a mascot that does not
// answer must not hold the player up for longer than this.
const DWORD ConnectTimeoutMs = 1000;

const char* const MascotMutexNames[] = {"sakura", "embryo", "ssp"};

const char RequestHead[] =
    "SEND SSTP/1.1\r\n"
    "Sender: Velkinプレイヤー\r\n"
    "Charset: Shift_JIS\r\n";
const char RequestTail[] = "\r\n\r\n";

// Collects the request and hands it to the socket in a few large pieces.
class RequestWriter {
public:
    explicit RequestWriter(ClientSocket& socket) : socket(socket), used(0), failed(false) {}

    void Append(const char* bytes, size_t length)
    {
        while (length > 0) {
            if (used == sizeof buffer)
                Flush();
            size_t n = sizeof buffer - used;
            if (n > length)
                n = length;
            memcpy(buffer + used, bytes, n);
            used += n;
            bytes += n;
            length -= n;
        }
    }
    void Append(const char* text) { Append(text, strlen(text)); }

    // After a failed send the rest of the request is dropped: the server
    // has gone and the player carries on.
    void Flush()
    {
        if (used > 0 && !failed)
            failed = socket.Send(buffer, static_cast<int>(used), 0) == SOCKET_ERROR;
        used = 0;
    }

private:
    ClientSocket& socket;
    char buffer[4096];
    size_t used;
    bool failed;
};

struct ScriptTexts {
    char title[256];
    char artist[256];
    char trackName[256];
};

}  // namespace

SstpNotifier::SstpNotifier(const Settings& settings, CdAudioDevice& device, const DiscTitleStore& discDatabase)
    : settings(settings), device(device), discDatabase(discDatabase)
{
}

// A mascot program holds one of these mutexes while it runs.
static bool IsMascotRunning()
{
    bool found = false;
    for (const char* name : MascotMutexNames)
        found |= NamedMutexExists(name);
    return found;
}

static void LookUpTexts(CdAudioDevice& device, const DiscTitleStore& database, ScriptTexts& texts)
{
    char discId[16];
    char text[128];
    device.GetDiscId(discId, sizeof discId);
    GetDiscTitle(database, discId, text, sizeof text);
    EscapeScriptText(text, texts.title, sizeof texts.title);
    GetDiscArtist(database, discId, text, sizeof text);
    EscapeScriptText(text, texts.artist, sizeof texts.artist);
    GetTrackName(database, discId, device.GetCurrentTrack(), text, sizeof text);
    EscapeScriptText(text, texts.trackName, sizeof texts.trackName);
}

// "&", "#" and "$" become the title, artist and track name; every other byte
// of the user's template goes out as written.
static void WriteScript(RequestWriter& writer, const char* script, const ScriptTexts& texts)
{
    for (const char* p = script; *p != '\0'; ++p) {
        switch (*p) {
        case '&':
            writer.Append(texts.title);
            break;
        case '#':
            writer.Append(texts.artist);
            break;
        case '$':
            writer.Append(texts.trackName);
            break;
        default:
            writer.Append(p, 1);
            break;
        }
    }
}

int SstpNotifier::Notify()
{
    if (!settings.SendSstpMsg)
        return 1;
    if (settings.CheckSstpServer && lstrcmpA(settings.SstpServer, "localhost") == 0 && !IsMascotRunning())
        return 1;

    ScriptTexts texts;
    LookUpTexts(device, discDatabase, texts);

    ClientSocket socket;
    socket.Startup();
    socket.Open(settings.SstpPort, settings.SstpServer);
    if (!socket.ConnectWithin(ConnectTimeoutMs))
        return 0;

    RequestWriter writer(socket);
    writer.Append(RequestHead);
    WriteScript(writer, settings.SstpScript, texts);
    writer.Append(RequestTail);
    writer.Flush();
    socket.Close();
    return 1;
}
