#include "SstpSender.h"

#include "ClientSocket.h"

struct SstpSender::Queue {
    CRITICAL_SECTION lock;
    HANDLE wake;  // a request waits, or the owner has gone
    LONG holders;
    bool threadStarted;
    bool closing;
    bool sending;
    int first;
    int count;
    SstpRequest* waiting[MaxWaiting];
};

namespace {

typedef SstpSender::Queue Queue;

void Drop(Queue& queue)
{
    if (InterlockedDecrement(&queue.holders) != 0)
        return;
    for (int i = 0; i < queue.count; ++i)
        DeleteSstpRequest(queue.waiting[(queue.first + i) % SstpSender::MaxWaiting]);
    DeleteCriticalSection(&queue.lock);
    CloseHandle(queue.wake);
    HeapFree(GetProcessHeap(), 0, &queue);
}

// The oldest waiting request, marked as being sent; null once the owner has gone.
SstpRequest* Take(Queue& queue)
{
    for (;;) {
        EnterCriticalSection(&queue.lock);
        SstpRequest* request = nullptr;
        if (!queue.closing && queue.count > 0) {
            request = queue.waiting[queue.first];
            queue.first = (queue.first + 1) % SstpSender::MaxWaiting;
            --queue.count;
            queue.sending = true;
        }
        bool closing = queue.closing;
        LeaveCriticalSection(&queue.lock);
        if (request || closing)
            return request;
        WaitForSingleObject(queue.wake, INFINITE);
    }
}

void SendNow(const SstpRequest& request)
{
    ClientSocket socket;
    socket.Startup();
    if (!socket.Open(request.port, request.host) || !socket.ConnectWithin(request.connectTimeoutMs))
        return;
    const char* bytes = request.bytes;
    size_t left = request.length;
    while (left > 0) {
        int sent = socket.Send(bytes, left > 65536 ? 65536 : static_cast<int>(left), 0);
        if (sent <= 0)
            break;  // the server has gone; the player carries on
        bytes += sent;
        left -= static_cast<size_t>(sent);
    }
    socket.Close();
}

DWORD WINAPI SendingThread(void* parameter)
{
    Queue& queue = *static_cast<Queue*>(parameter);
    while (SstpRequest* request = Take(queue)) {
        SendNow(*request);
        DeleteSstpRequest(request);
        EnterCriticalSection(&queue.lock);
        queue.sending = false;
        LeaveCriticalSection(&queue.lock);
    }
    Drop(queue);
    return 0;
}

}  // namespace

SstpRequest* NewSstpRequest(size_t length)
{
    return static_cast<SstpRequest*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(SstpRequest) + length));
}

void DeleteSstpRequest(SstpRequest* request)
{
    if (request)
        HeapFree(GetProcessHeap(), 0, request);
}

SstpSender::SstpSender() : queue(static_cast<Queue*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Queue))))
{
    if (!queue)
        return;
    InitializeCriticalSection(&queue->lock);
    queue->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    queue->holders = 1;
}

// The thread is not waited for: a connect under way ends with the process.
SstpSender::~SstpSender()
{
    if (!queue)
        return;
    EnterCriticalSection(&queue->lock);
    queue->closing = true;
    LeaveCriticalSection(&queue->lock);
    SetEvent(queue->wake);
    Drop(*queue);
}

void SstpSender::Send(SstpRequest* request)
{
    if (!queue || !queue->wake) {
        DeleteSstpRequest(request);
        return;
    }
    if (!queue->threadStarted) {
        InterlockedIncrement(&queue->holders);
        HANDLE thread = CreateThread(nullptr, 0, SendingThread, queue, 0, nullptr);
        if (!thread) {
            InterlockedDecrement(&queue->holders);
            DeleteSstpRequest(request);
            return;
        }
        CloseHandle(thread);
        queue->threadStarted = true;
    }
    SstpRequest* dropped = nullptr;
    EnterCriticalSection(&queue->lock);
    if (queue->count == MaxWaiting) {
        dropped = queue->waiting[queue->first];
        queue->first = (queue->first + 1) % MaxWaiting;
        --queue->count;
    }
    queue->waiting[(queue->first + queue->count) % MaxWaiting] = request;
    ++queue->count;
    LeaveCriticalSection(&queue->lock);
    DeleteSstpRequest(dropped);
    SetEvent(queue->wake);
}

bool SstpSender::Busy() const
{
    if (!queue)
        return false;
    EnterCriticalSection(&queue->lock);
    bool busy = queue->sending || queue->count > 0;
    LeaveCriticalSection(&queue->lock);
    return busy;
}
