#pragma once

#include <winsock.h>

#include <string>
#include <vector>

// A TCP listener on 127.0.0.1 with a port of the system's choosing, for tests
// that look at the bytes a client really sends. The test's thread starts the
// sockets library itself (SocketLibrary) before making one.
class LoopbackListener {
public:
    explicit LoopbackListener(int backlog = 5);
    ~LoopbackListener();
    int Port() const { return port; }

    // Accepts one connection and reads it until the peer closes. Empty when
    // nobody connected within timeoutMs.
    std::string ReceiveAll(DWORD timeoutMs = 5000);
    // Accepts one connection; INVALID_SOCKET when none came within timeoutMs.
    SOCKET Accept(DWORD timeoutMs);
    // Fills the queue of pending connections so that the next client's
    // connect gets no answer. False when it could not.
    bool FillBacklog();

    // True when the peer closed the connection within timeoutMs.
    static bool PeerClosed(SOCKET connection, DWORD timeoutMs);

private:
    int port = 0;  // before listening, which sets it
    SOCKET listening;
    std::vector<SOCKET> pending;  // connections that fill the queue
};

// Keeps the sockets library started for the life of the object.
class SocketLibrary {
public:
    SocketLibrary()
    {
        WSADATA data;
        started = WSAStartup(MAKEWORD(1, 1), &data) == 0;
    }
    ~SocketLibrary()
    {
        if (started)
            WSACleanup();
    }

private:
    bool started;
};

// A loopback port that nobody listens on: a connect to it is refused.
int UnusedLoopbackPort();
