#pragma once

#include "LoopbackListener.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A disc database on loopback, answering HTTP GETs as a CDDB server does,
// each connection on a thread of its own. Each request is answered by the
// first rule whose command words ("cddb query", "cddb read rock 0f038403")
// start the request's cmd, where they go joined by '+'; without a rule the
// answer is a 500 error. The head of every request is kept as it came.
class CddbTestServer {
public:
    struct Rule {
        std::string command;
        std::string response;                 // the whole HTTP answer, bytes as they go out
        DWORD delayMs = 0;                    // before anything is sent; INFINITE: until ReleaseHeld
        size_t cutAfter = std::string::npos;  // close after this many bytes (npos: send all)
        bool holdOpen = false;                // after sending, keep the connection until the server stops
    };

    CddbTestServer();
    ~CddbTestServer();
    CddbTestServer(const CddbTestServer&) = delete;
    CddbTestServer& operator=(const CddbTestServer&) = delete;

    int Port() const { return listener.Port(); }

    // A 200 answer with a CDDB body (lines joined by "\r\n").
    void Answer(const std::string& command, const std::string& body, DWORD delayMs = 0);
    void AnswerRaw(const Rule& rule);
    void Clear();
    // Lets the answers held back by a rule with delay INFINITE go out, now and from then on.
    void ReleaseHeld() { SetEvent(released); }

    // The request heads received so far, and their first lines alone.
    std::vector<std::string> Requests() const;
    std::vector<std::string> RequestLines() const;

    static std::string HttpOk(const std::string& body);

private:
    void Serve();
    void Handle(SOCKET connection);
    bool Wait(DWORD ms);  // false when the server stops meanwhile

    SocketLibrary library;
    LoopbackListener listener;
    mutable std::mutex lock;
    std::vector<Rule> rules;
    std::vector<std::string> requests;
    HANDLE stopping;
    HANDLE released;
    std::thread thread;
    std::vector<std::thread> handlers;  // of the server's thread only
};

// The body of a real-looking query answer: 200 for one match, 210 for several.
std::string CddbQueryBody(const std::vector<std::string>& matches, int code = 0);
