#include "ClientSocket.h"

#include <string.h>

ClientSocket::ClientSocket() : socketHandle(INVALID_SOCKET), wsaData(), started(0), peerAddress() {}

ClientSocket::~ClientSocket()
{
    ClientSocket::Release();
}

void ClientSocket::Release()
{
    if (started) {
        WSACleanup();
        started = 0;
    }
}

int ClientSocket::Startup()
{
    if (started)
        return 0;  // one WSAStartup per object, so that Release balances it
    int result = WSAStartup(MAKEWORD(1, 1), &wsaData);
    if (result == 0)
        started = 1;
    return result;
}

HOSTENT* ClientSocket::Resolve(LPCSTR host)
{
    if (!host)
        return nullptr;
    unsigned long address = inet_addr(host);
    if (address == INADDR_NONE)
        return gethostbyname(host);
    return gethostbyaddr(reinterpret_cast<const char*>(&address), 4, AF_INET);
}

// A dotted address is used as it is: a reverse lookup would only wait on the
// name service, and an address without a reverse entry could never be reached.
bool ClientSocket::ResolveAddress(LPCSTR host, in_addr& address)
{
    if (!host)
        return false;
    unsigned long dotted = inet_addr(host);
    if (dotted != INADDR_NONE) {
        address.s_addr = dotted;
        return true;
    }
    HOSTENT* entry = gethostbyname(host);
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list[0])
        return false;
    memcpy(&address, entry->h_addr_list[0], 4);
    return true;
}

ClientSocket::NameLookup ClientSocket::lookUpName = gethostbyname;

namespace {

// One resolution on a thread of its own; the caller may stop waiting for
// it, and whichever of the two lets go last frees it.
struct Resolution {
    LONG holders;
    HANDLE done;
    char host[256];
    bool found;
    in_addr address;
};

void LetGo(Resolution* resolution)
{
    if (InterlockedDecrement(&resolution->holders) != 0)
        return;
    CloseHandle(resolution->done);
    HeapFree(GetProcessHeap(), 0, resolution);
}

DWORD WINAPI ResolutionThread(void* parameter)
{
    Resolution* resolution = static_cast<Resolution*>(parameter);
    ClientSocket library;  // kept started while the name service is asked
    if (library.Startup() == 0) {
        HOSTENT* entry = ClientSocket::lookUpName(resolution->host);
        if (entry && entry->h_addrtype == AF_INET && entry->h_length == 4 && entry->h_addr_list[0]) {
            memcpy(&resolution->address, entry->h_addr_list[0], 4);
            resolution->found = true;
        }
    }
    SetEvent(resolution->done);
    LetGo(resolution);
    return 0;
}

}  // namespace

bool ClientSocket::ResolveWithin(LPCSTR host, DWORD timeoutMs, in_addr& address)
{
    if (!host || strlen(host) >= sizeof Resolution().host)
        return false;
    unsigned long dotted = inet_addr(host);
    if (dotted != INADDR_NONE) {
        address.s_addr = dotted;
        return true;
    }
    Resolution* resolution =
        static_cast<Resolution*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Resolution)));
    if (!resolution)
        return false;
    resolution->holders = 2;
    resolution->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    memcpy(resolution->host, host, strlen(host) + 1);
    HANDLE thread = resolution->done ? CreateThread(nullptr, 0, ResolutionThread, resolution, 0, nullptr) : nullptr;
    if (!thread) {
        if (resolution->done)
            CloseHandle(resolution->done);
        HeapFree(GetProcessHeap(), 0, resolution);
        return false;
    }
    CloseHandle(thread);
    bool found = WaitForSingleObject(resolution->done, timeoutMs) == WAIT_OBJECT_0 && resolution->found;
    if (found)
        address = resolution->address;
    LetGo(resolution);
    return found;
}

BOOL ClientSocket::Open(int port, LPCSTR host)
{
    if (socketHandle != INVALID_SOCKET)
        Close();
    in_addr address;
    if (!ResolveAddress(host, address))
        return FALSE;
    socketHandle = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socketHandle == INVALID_SOCKET)
        return FALSE;
    memset(&peerAddress, 0, sizeof peerAddress);
    peerAddress.sin_family = AF_INET;
    peerAddress.sin_port = htons(static_cast<u_short>(port & 0xFFFF));
    peerAddress.sin_addr = address;
    return TRUE;
}

BOOL ClientSocket::Connect()
{
    if (::connect(socketHandle, reinterpret_cast<sockaddr*>(&peerAddress), sizeof peerAddress) ==
        SOCKET_ERROR) {
        Close();
        return FALSE;
    }
    return TRUE;
}

BOOL ClientSocket::ConnectWithin(DWORD timeoutMs)
{
    if (socketHandle == INVALID_SOCKET)
        return FALSE;
    u_long nonBlocking = 1;
    bool connected = ioctlsocket(socketHandle, FIONBIO, &nonBlocking) != SOCKET_ERROR;
    if (connected &&
        ::connect(socketHandle, reinterpret_cast<sockaddr*>(&peerAddress), sizeof peerAddress) ==
            SOCKET_ERROR) {
        connected = WSAGetLastError() == WSAEWOULDBLOCK && WaitUntilConnected(timeoutMs);
    }
    u_long blocking = 0;
    if (connected && ioctlsocket(socketHandle, FIONBIO, &blocking) == SOCKET_ERROR)
        connected = false;
    if (!connected) {
        Close();
        return FALSE;
    }
    return TRUE;
}

// A pending connect ends as writable (done) or in the exception set (failed).
bool ClientSocket::WaitUntilConnected(DWORD timeoutMs)
{
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(socketHandle, &writable);
    FD_SET(socketHandle, &failed);
    timeval limit;
    limit.tv_sec = static_cast<long>(timeoutMs / 1000);
    limit.tv_usec = static_cast<long>(timeoutMs % 1000) * 1000;
    if (select(0, nullptr, &writable, &failed, &limit) <= 0)
        return false;
    if (FD_ISSET(socketHandle, &failed) || !FD_ISSET(socketHandle, &writable))
        return false;
    int error = 0;
    int length = sizeof error;
    if (getsockopt(socketHandle, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) ==
        SOCKET_ERROR)
        return false;
    return error == 0;
}

int ClientSocket::Send(const char* data, int length, int flags)
{
    return ::send(socketHandle, data, length, flags);
}

int ClientSocket::ReceiveWithin(char* buffer, int capacity, DWORD timeoutMs)
{
    if (socketHandle == INVALID_SOCKET || capacity <= 0)
        return SOCKET_ERROR;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socketHandle, &readable);
    timeval limit;
    limit.tv_sec = static_cast<long>(timeoutMs / 1000);
    limit.tv_usec = static_cast<long>(timeoutMs % 1000) * 1000;
    if (select(0, &readable, nullptr, nullptr, &limit) <= 0)
        return SOCKET_ERROR;
    return ::recv(socketHandle, buffer, capacity, 0);
}

// Closes whenever there is a socket, whoever started the library: a socket
// is never left open behind a cleared handle.
void ClientSocket::Close()
{
    if (socketHandle == INVALID_SOCKET)
        return;
    ::shutdown(socketHandle, 2);
    ::closesocket(socketHandle);
    socketHandle = INVALID_SOCKET;
}
