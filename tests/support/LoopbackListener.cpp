#include "LoopbackListener.h"

#include <string.h>

static bool WaitReadable(SOCKET s, DWORD timeoutMs)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval limit;
    limit.tv_sec = static_cast<long>(timeoutMs / 1000);
    limit.tv_usec = static_cast<long>(timeoutMs % 1000) * 1000;
    return select(0, &readable, nullptr, nullptr, &limit) > 0;
}

static sockaddr_in LoopbackAddress(int port)
{
    sockaddr_in address;
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

LoopbackListener::LoopbackListener(int backlog) : listening(INVALID_SOCKET), port(0), pending(), pendingCount(0)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET)
        return;
    sockaddr_in address = LoopbackAddress(0);
    int length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == SOCKET_ERROR ||
        listen(s, backlog) == SOCKET_ERROR ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == SOCKET_ERROR) {
        closesocket(s);
        return;
    }
    listening = s;
    port = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener()
{
    for (int i = 0; i < pendingCount; ++i)
        closesocket(pending[i]);
    if (listening != INVALID_SOCKET)
        closesocket(listening);
}

SOCKET LoopbackListener::Accept(DWORD timeoutMs)
{
    if (listening == INVALID_SOCKET || !WaitReadable(listening, timeoutMs))
        return INVALID_SOCKET;
    return accept(listening, nullptr, nullptr);
}

std::string LoopbackListener::ReceiveAll(DWORD timeoutMs)
{
    SOCKET connection = Accept(timeoutMs);
    if (connection == INVALID_SOCKET)
        return std::string();
    std::string bytes = ReadUntilClosed(connection, timeoutMs);
    closesocket(connection);
    return bytes;
}

std::string LoopbackListener::ReadUntilClosed(SOCKET connection, DWORD timeoutMs)
{
    std::string bytes;
    char buffer[4096];
    while (WaitReadable(connection, timeoutMs)) {
        int n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

bool LoopbackListener::PeerClosed(SOCKET connection, DWORD timeoutMs)
{
    char byte;
    return WaitReadable(connection, timeoutMs) && recv(connection, &byte, 1, 0) == 0;
}

bool LoopbackListener::FillBacklog()
{
    while (pendingCount < static_cast<int>(sizeof pending / sizeof pending[0])) {
        SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
        if (s == INVALID_SOCKET)
            return false;
        pending[pendingCount++] = s;
        u_long nonBlocking = 1;
        ioctlsocket(s, FIONBIO, &nonBlocking);
        sockaddr_in address = LoopbackAddress(port);
        if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
            continue;
        if (WSAGetLastError() != WSAEWOULDBLOCK)
            return false;
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(s, &writable);
        timeval limit = {0, 300000};
        if (select(0, nullptr, &writable, nullptr, &limit) == 0)
            return true;  // this one got no answer: the queue is full
    }
    return false;
}

SocketLibrary::SocketLibrary() : started(false)
{
    WSADATA data;
    started = WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

SocketLibrary::~SocketLibrary()
{
    if (started)
        WSACleanup();
}

int UnusedLoopbackPort()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LoopbackAddress(0);
    int length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(s);
    return ntohs(address.sin_port);
}
