#pragma once

#include <windows.h>
#include <stddef.h>

// One HTTP/1.0 GET over the project's socket class, bounded in time and in
// what it reads.
struct HttpGetRequest {
    const char* host;       // the name for the Host header
    const char* address;    // where to connect: a dotted address, already resolved
    unsigned short port;
    const char* target;     // path and query, sent as they are
    const char* userAgent;
    DWORD connectTimeoutMs;
    DWORD deadline;         // GetTickCount value by which the whole answer is in
    char* status;           // receives the status of an answer that is not 200 (may be null)
    size_t statusCapacity;
};

// The body of a 200 answer into body (at most capacity bytes, not
// terminated), its length in *length. False for a failed connection, an
// answer that is not 200, one larger than capacity, one cut short, and one
// that has not ended by the deadline.
bool HttpGet(const HttpGetRequest& request, char* body, size_t capacity, size_t* length);

// Milliseconds left until deadline; 0 once it has passed.
DWORD TimeLeft(DWORD deadline);

// The code and text of a status line ("500 Unknown developer email") at the
// start of bytes, cut at the line's end and to capacity, anything but
// printable ASCII made "?"; empty unless the bytes open with three digits and
// a space.
void CopyStatusLine(const char* bytes, size_t length, char* text, size_t capacity);
