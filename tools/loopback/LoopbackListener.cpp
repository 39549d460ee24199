#include "LoopbackListener.h"

namespace {

bool WaitReadable(SOCKET s, DWORD timeoutMs)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval limit = {static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &limit) > 0;
}

// A socket bound to 127.0.0.1 and a port of the system's choosing, which
// port receives. When the bind failed, listen fails too.
SOCKET BindLoopback(int& port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return s;
}

}  // namespace

LoopbackListener::LoopbackListener(int backlog) : listening(BindLoopback(port))
{
    if (listen(listening, backlog) == SOCKET_ERROR) {
        closesocket(listening);
        listening = INVALID_SOCKET;
    }
}

LoopbackListener::~LoopbackListener()
{
    for (SOCKET s : pending)
        closesocket(s);
    closesocket(listening);
}

SOCKET LoopbackListener::Accept(DWORD timeoutMs)
{
    return WaitReadable(listening, timeoutMs) ? accept(listening, nullptr, nullptr) : INVALID_SOCKET;
}

std::string LoopbackListener::ReceiveAll(DWORD timeoutMs)
{
    SOCKET connection = Accept(timeoutMs);
    std::string bytes;  // none without a connection
    char buffer[4096];
    int n;
    while (WaitReadable(connection, timeoutMs) && (n = recv(connection, buffer, sizeof buffer, 0)) > 0)
        bytes.append(buffer, n);
    closesocket(connection);
    return bytes;
}

bool LoopbackListener::PeerClosed(SOCKET connection, DWORD timeoutMs)
{
    char byte;
    return WaitReadable(connection, timeoutMs) && recv(connection, &byte, 1, 0) == 0;
}

// More connects than a queue of one holds: the last waits for an answer
// that does not come.
bool LoopbackListener::FillBacklog()
{
    sockaddr_in address;
    int length = sizeof address;
    getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length);
    for (int i = 0; i < 16; ++i) {
        pending.push_back(socket(AF_INET, SOCK_STREAM, 0));
        u_long nonBlocking = 1;
        ioctlsocket(pending.back(), FIONBIO, &nonBlocking);
        connect(pending.back(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(pending.back(), &writable);
    timeval limit = {0, 300000};
    return select(0, nullptr, &writable, nullptr, &limit) == 0;
}

int UnusedLoopbackPort()
{
    int port = 0;
    closesocket(BindLoopback(port));
    return port;
}
