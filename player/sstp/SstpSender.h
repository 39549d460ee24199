#pragma once

#include <windows.h>
#include <stddef.h>

// One request as it goes out: composed on the player's thread, then owned by
// the sender.
struct SstpRequest {
    char host[128];
    unsigned short port;
    DWORD connectTimeoutMs;
    size_t length;
    char bytes[1];  // length bytes follow
};

// A request of length bytes from the heap, host empty; null without memory.
SstpRequest* NewSstpRequest(size_t length);
void DeleteSstpRequest(SstpRequest* request);

// Sends requests on a thread of its own, one at a time in the order given, so
// that the player never waits for the mascot. While one hangs on a server
// that does not answer, at most MaxWaiting wait behind it; a newer one drops
// the oldest waiting: the mascot wants to hear what plays now. When the
// sender goes (at the player's exit) the unsent are dropped and nobody waits
// for a connect under way.
class SstpSender {
public:
    static const int MaxWaiting = 4;

    SstpSender();
    ~SstpSender();
    SstpSender(const SstpSender&) = delete;
    SstpSender& operator=(const SstpSender&) = delete;

    // Takes the request, whether it can be sent or not.
    void Send(SstpRequest* request);
    // A request is being sent or waits.
    bool Busy() const;

    struct Queue;

private:
    Queue* queue;  // shared with the thread; the last of the two frees it
};
