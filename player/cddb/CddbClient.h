#pragma once

#include "CddbAnswer.h"
#include "DiscTitles.h"
#include "TableOfContents.h"

#include <windows.h>

// Where and how to ask the disc database.
struct CddbServer {
    char host[256];
    unsigned short port;
    char path[256];           // the CGI's path, "/~cddb/cddb.cgi"
    char email[256];          // the user's address: the hello's user and host
    char clientVersion[16];   // the player's version, sent in the hello
    DWORD connectTimeoutMs;
    DWORD lookupTimeoutMs;    // the whole lookup, every request of it
};

// CDDB over HTTP: a query with the disc's table of contents, then a read of
// the chosen match. Answers come in UTF-8 (protocol level 6) and leave here
// in Shift_JIS. Every request shares one deadline, set when the client is made.
class CddbClient {
public:
    explicit CddbClient(const CddbServer& server);
    ~CddbClient();

    CddbQueryResult Query(const TableOfContents& toc, CddbMatches& matches);
    bool Read(const CddbMatch& match, int trackCount, DiscTitles& titles);

    // The request target for the command words ("cddb query ..."): path,
    // command, hello and protocol level.
    void FormatTarget(const char* command, char* target, size_t capacity) const;

    // The answers are read into this much, head included.
    static const size_t AnswerCapacity = 256 * 1024;

    // What the server said when it gave no usable answer, as its status line
    // ("500 Unknown developer email"); empty when it said nothing of the kind.
    char serverSaid[128];

private:
    bool Get(const char* command, size_t* length);
    void KeepRefusal(size_t length);

    const CddbServer& server;
    DWORD deadline;
    char address[16];  // the server's, dotted, once resolved
    char* answer;
};

// The hello's user and host from an e-mail address, each made a plain word;
// "anonymous" and "localhost" when the address has no such part.
void HelloFromEmail(const char* email, char* user, size_t userCapacity, char* host, size_t hostCapacity);
