#include "CddbClient.h"

#include "ClientSocket.h"
#include "HttpGet.h"
#include "Text.h"

#include <string.h>

namespace {

bool IsPlain(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_';
}

// One word of the hello: it must stay one word and one query value, so
// every other character becomes "_".
void CopyHelloWord(const char* from, size_t length, const char* fallback, char* word, size_t capacity)
{
    size_t n = 0;
    for (size_t i = 0; i < length && n + 1 < capacity; ++i)
        word[n++] = IsPlain(from[i]) ? from[i] : '_';
    word[n] = '\0';
    if (n == 0)
        CopyText(word, capacity, fallback);
}

// A path goes into the request line as it is, save bytes that would end or
// change it.
void AppendPath(char* target, size_t capacity, const char* path)
{
    if (path[0] != '/')
        AppendText(target, capacity, "/");
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(path); *p; ++p) {
        char piece[4];
        if (*p <= 0x20 || *p >= 0x7F || *p == '?' || *p == '#' || *p == '%' || *p == '&')
            FormatText(piece, sizeof piece, "%%%02X", *p);
        else
            FormatText(piece, sizeof piece, "%c", *p);
        AppendText(target, capacity, piece);
    }
}

bool IsHostName(const char* host)
{
    if (host[0] == '\0')
        return false;
    for (const char* p = host; *p; ++p) {
        if (!IsPlain(*p))
            return false;
    }
    return true;
}

}  // namespace

void HelloFromEmail(const char* email, char* user, size_t userCapacity, char* host, size_t hostCapacity)
{
    const char* at = strchr(email, '@');
    size_t userLength = at ? static_cast<size_t>(at - email) : 0;
    const char* hostPart = at ? at + 1 : "";
    CopyHelloWord(email, userLength, "anonymous", user, userCapacity);
    CopyHelloWord(hostPart, strlen(hostPart), "localhost", host, hostCapacity);
}

CddbClient::CddbClient(const CddbServer& server)
    : serverSaid(), server(server), deadline(GetTickCount() + server.lookupTimeoutMs), address(),
      answer(static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, AnswerCapacity)))
{
}

CddbClient::~CddbClient()
{
    if (answer)
        HeapFree(GetProcessHeap(), 0, answer);
}

void CddbClient::FormatTarget(const char* command, char* target, size_t capacity) const
{
    char user[64];
    char host[128];
    HelloFromEmail(server.email, user, sizeof user, host, sizeof host);
    target[0] = '\0';
    AppendPath(target, capacity, server.path);
    AppendText(target, capacity, "?cmd=");
    size_t start = strlen(target);
    AppendText(target, capacity, command);
    for (char* p = target + start; *p; ++p) {
        if (*p == ' ')
            *p = '+';
    }
    char rest[256];
    FormatText(rest, sizeof rest, "&hello=%s+%s+velkin+%s&proto=6", user, host, server.clientVersion);
    AppendText(target, capacity, rest);
}

bool CddbClient::Get(const char* command, size_t* length)
{
    if (!answer || !IsHostName(server.host))
        return false;
    // Once a lookup, within its time: a name service that does not answer
    // must not hold the lookup past its bound.
    if (address[0] == '\0') {
        in_addr resolved;
        if (!ClientSocket::ResolveWithin(server.host, TimeLeft(deadline), resolved))
            return false;
        CopyText(address, sizeof address, inet_ntoa(resolved));
    }
    char target[2048];
    FormatTarget(command, target, sizeof target);
    char userAgent[32];
    FormatText(userAgent, sizeof userAgent, "velkin/%s", server.clientVersion);
    HttpGetRequest request = {server.host,           address,  server.port, target, userAgent,
                              server.connectTimeoutMs, deadline, serverSaid, sizeof serverSaid};
    return HttpGet(request, answer, AnswerCapacity, length);
}

CddbQueryResult CddbClient::Query(const TableOfContents& toc, CddbMatches& matches)
{
    matches.count = 0;
    if (!IsPlausible(toc))
        return CddbQueryFailed;
    char command[1024];
    FormatCddbQuery(toc, command, sizeof command);
    size_t length = 0;
    if (!Get(command, &length))
        return CddbQueryFailed;
    CddbQueryResult result = ParseCddbQuery(answer, length, matches);
    if (result == CddbQueryFailed)
        KeepRefusal(length);
    return result;
}

bool CddbClient::Read(const CddbMatch& match, int trackCount, DiscTitles& titles)
{
    char command[64];
    FormatText(command, sizeof command, "cddb read %s %s", match.category, match.discId);
    size_t length = 0;
    if (!Get(command, &length))
        return false;
    if (ParseCddbRead(answer, length, trackCount, titles))
        return true;
    KeepRefusal(length);
    return false;
}

// The codes 4xx and 5xx say why the server did not answer; a 2xx answer
// that could not be used says nothing to the user.
void CddbClient::KeepRefusal(size_t length)
{
    if (length > 0 && (answer[0] == '4' || answer[0] == '5'))
        CopyStatusLine(answer, length, serverSaid, sizeof serverSaid);
}
