#pragma once

#include <winsock.h>

// A TCP client over Windows Sockets 1.1: start the library, resolve a host,
// open a stream socket, connect, send, receive and close.
class ClientSocket {
public:
    ClientSocket();
    virtual ~ClientSocket();
    // Stops the sockets library when this object started it. Does not close
    // the socket; call Close first.
    virtual void Release();

    int Startup();  // WSAStartup 1.1; 0 on success
    // A dotted address is looked up in reverse, anything else by name.
    // Null for a null text or a failed lookup. The entry lives in the
    // library's per-thread storage until the next lookup.
    static HOSTENT* Resolve(LPCSTR host);
    BOOL Open(int port, LPCSTR host);
    BOOL Connect();
    // Connect, but give up after timeoutMs. A blocking connect to a host
    // that never answers waits as long as the system's retries (tens of
    // seconds), and the player's only thread would stand still meanwhile.
    // The socket is blocking again when this returns TRUE.
    BOOL ConnectWithin(DWORD timeoutMs);
    // The address of a host name or dotted address, the name service asked
    // on a thread of its own: false when it has no answer within timeoutMs,
    // whose thread then ends by itself.
    static bool ResolveWithin(LPCSTR host, DWORD timeoutMs, in_addr& address);
    typedef struct hostent*(PASCAL* NameLookup)(const char* name);
    static NameLookup lookUpName;  // gethostbyname, or a test's stand-in
    int Send(const char* data, int length, int flags);
    // What has arrived, waiting at most timeoutMs for it: the number of
    // bytes, 0 when the peer has closed, SOCKET_ERROR on an error or when
    // nothing came in time. A peer that stops answering cannot hold the
    // caller longer than that.
    int ReceiveWithin(char* buffer, int capacity, DWORD timeoutMs);
    void Close();

    SOCKET socketHandle;
    WSADATA wsaData;
    int started;
    sockaddr_in peerAddress;

private:
    bool WaitUntilConnected(DWORD timeoutMs);
    static bool ResolveAddress(LPCSTR host, in_addr& address);
};
