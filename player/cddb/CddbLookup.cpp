#include "CddbLookup.h"

#include "Text.h"

#include <process.h>
#include <string.h>

namespace {

struct Delivery {
    CddbLookup* lookup;
    HWND window;
    UINT message;
};

bool TakeFirstExact(CddbClient& client, CddbLookup& lookup)
{
    lookup.queryResult = client.Query(lookup.toc, lookup.matches);
    if (lookup.queryResult != CddbQueryMatched)
        return false;
    for (int i = 0; i < lookup.matches.count; ++i) {
        if (lookup.matches.items[i].exact)
            return client.Read(lookup.matches.items[i], lookup.toc.trackCount, lookup.titles);
    }
    return false;
}

unsigned __stdcall LookupThread(void* parameter)
{
    Delivery delivery = *static_cast<Delivery*>(parameter);
    HeapFree(GetProcessHeap(), 0, parameter);
    RunCddbLookup(*delivery.lookup);
    if (!PostMessageA(delivery.window, delivery.message, 0, reinterpret_cast<LPARAM>(delivery.lookup)))
        DeleteCddbLookup(delivery.lookup);
    return 0;
}

LONG lookupsInUse;

}  // namespace

CddbLookup* NewCddbLookup()
{
    CddbLookup* lookup = static_cast<CddbLookup*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CddbLookup)));
    if (lookup)
        InterlockedIncrement(&lookupsInUse);
    return lookup;
}

void DeleteCddbLookup(CddbLookup* lookup)
{
    if (!lookup)
        return;
    InterlockedDecrement(&lookupsInUse);
    HeapFree(GetProcessHeap(), 0, lookup);
}

LONG CddbLookupsInUse()
{
    return lookupsInUse;
}

void RunCddbLookup(CddbLookup& lookup)
{
    lookup.succeeded = false;
    lookup.queryResult = CddbQueryFailed;
    lookup.matches.count = 0;
    lookup.titles.trackCount = 0;
    CddbClient client(lookup.server);
    switch (lookup.kind) {
    case CddbTakeFirstExact:
        lookup.succeeded = TakeFirstExact(client, lookup);
        break;
    case CddbListMatches:
        lookup.queryResult = client.Query(lookup.toc, lookup.matches);
        lookup.succeeded = lookup.queryResult == CddbQueryMatched;
        break;
    case CddbReadMatch:
        lookup.succeeded = client.Read(lookup.match, lookup.toc.trackCount, lookup.titles);
        break;
    }
    CopyText(lookup.serverSaid, sizeof lookup.serverSaid, client.serverSaid);
}

bool StartCddbLookup(CddbLookup* lookup, HWND window, UINT message)
{
    Delivery* delivery = static_cast<Delivery*>(HeapAlloc(GetProcessHeap(), 0, sizeof(Delivery)));
    if (!delivery) {
        DeleteCddbLookup(lookup);
        return false;
    }
    delivery->lookup = lookup;
    delivery->window = window;
    delivery->message = message;
    uintptr_t thread = _beginthreadex(nullptr, 0, LookupThread, delivery, 0, nullptr);
    if (thread == 0) {
        HeapFree(GetProcessHeap(), 0, delivery);
        DeleteCddbLookup(lookup);
        return false;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    return true;
}
