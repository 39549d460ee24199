#include "SstpNotifier.h"

#include "NamedMutex.h"
#include "ScriptEscape.h"
#include "Text.h"

#include <string.h>

namespace {

// A mascot that does not answer holds up the requests behind it no longer.
const DWORD ConnectTimeoutMs = 1000;

const char* const MascotMutexNames[] = {"sakura", "embryo", "ssp"};

const char RequestHead[] =
    "SEND SSTP/1.1\r\n"
    "Sender: Velkinプレイヤー\r\n"
    "Charset: Shift_JIS\r\n";
const char RequestTail[] = "\r\n\r\n";

struct ScriptTexts {
    char title[256];
    char artist[256];
    char trackName[256];
};

}  // namespace

SstpNotifier::SstpNotifier(const Settings& settings, CdAudioDevice& device, const DiscTitleStore& discDatabase)
    : connectTimeoutMs(ConnectTimeoutMs), settings(settings), device(device), discDatabase(discDatabase)
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
// of the user's template goes out as written. Without a buffer, only counts.
static size_t ComposeRequest(const char* script, const ScriptTexts& texts, char* out)
{
    size_t used = 0;
    auto put = [&](const char* bytes, size_t length) {
        if (out)
            memcpy(out + used, bytes, length);
        used += length;
    };
    put(RequestHead, sizeof RequestHead - 1);
    for (const char* p = script; *p != '\0'; ++p) {
        const char* name = *p == '&' ? texts.title : *p == '#' ? texts.artist : *p == '$' ? texts.trackName : nullptr;
        if (name)
            put(name, strlen(name));
        else
            put(p, 1);
    }
    put(RequestTail, sizeof RequestTail - 1);
    return used;
}

// The request is made here, from what plays now, and sent beside the player.
bool SstpNotifier::Notify()
{
    if (!settings.SendSstpMsg)
        return false;
    if (settings.CheckSstpServer && lstrcmpA(settings.SstpServer, "localhost") == 0 && !IsMascotRunning())
        return false;

    ScriptTexts texts;
    LookUpTexts(device, discDatabase, texts);
    size_t length = ComposeRequest(settings.SstpScript, texts, nullptr);
    SstpRequest* request = NewSstpRequest(length);
    if (!request)
        return false;
    ComposeRequest(settings.SstpScript, texts, request->bytes);
    request->length = length;
    CopyText(request->host, sizeof request->host, settings.SstpServer);
    request->port = settings.SstpPort;
    request->connectTimeoutMs = connectTimeoutMs;
    sender.Send(request);
    return true;
}
