#include "HttpGet.h"

#include "ClientSocket.h"
#include "Text.h"

#include <stdlib.h>
#include <string.h>

namespace {

const size_t HeadCapacity = 8192;

bool SendAll(ClientSocket& socket, const char* bytes, size_t length)
{
    while (length > 0) {
        int sent = socket.Send(bytes, static_cast<int>(length), 0);
        if (sent == SOCKET_ERROR || sent <= 0)
            return false;
        bytes += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

bool SendRequest(ClientSocket& socket, const HttpGetRequest& request)
{
    char text[4096];
    char host[300];
    if (request.port == 80)
        CopyText(host, sizeof host, request.host);
    else
        FormatText(host, sizeof host, "%s:%u", request.host, request.port);
    size_t length = FormatText(text, sizeof text,
                               "GET %s HTTP/1.0\r\nHost: %s\r\nUser-Agent: %s\r\nAccept: text/plain\r\n"
                               "Connection: close\r\n\r\n",
                               request.target, host, request.userAgent);
    if (length + 1 >= sizeof text)
        return false;  // cut short, it would ask for something else
    return SendAll(socket, text, length);
}

// Reads until the peer closes. False when the answer outgrows the buffer,
// the connection fails or the deadline passes first.
bool ReceiveAll(ClientSocket& socket, DWORD deadline, char* buffer, size_t capacity, size_t* length)
{
    *length = 0;
    for (;;) {
        DWORD left = TimeLeft(deadline);
        if (left == 0)
            return false;
        if (*length == capacity) {
            char probe;
            return socket.ReceiveWithin(&probe, 1, left) == 0;  // exactly full is fine, more is not
        }
        size_t room = capacity - *length;
        int n = socket.ReceiveWithin(buffer + *length, room > 65536 ? 65536 : static_cast<int>(room), left);
        if (n == 0)
            return true;
        if (n < 0)
            return false;
        *length += static_cast<size_t>(n);
    }
}

const char* FindBytes(const char* bytes, size_t length, const char* pattern)
{
    size_t n = strlen(pattern);
    for (size_t i = 0; i + n <= length; ++i) {
        if (memcmp(bytes + i, pattern, n) == 0)
            return bytes + i;
    }
    return nullptr;
}

// The value of a header in head (the lines after the status line), its name
// matched without regard to case; empty when absent.
void HeaderValue(const char* head, const char* name, char* value, size_t capacity)
{
    value[0] = '\0';
    size_t nameLength = strlen(name);
    for (const char* line = strstr(head, "\r\n"); line; line = strstr(line, "\r\n")) {
        line += 2;
        if (_strnicmp(line, name, nameLength) == 0 && line[nameLength] == ':') {
            const char* start = line + nameLength + 1;
            while (*start == ' ' || *start == '\t')
                ++start;
            const char* end = strstr(start, "\r\n");
            size_t n = end ? static_cast<size_t>(end - start) : strlen(start);
            if (n >= capacity)
                n = capacity - 1;
            memcpy(value, start, n);
            value[n] = '\0';
            return;
        }
    }
}

// "HTTP/1.x 200 ..."
bool IsOk(const char* head)
{
    return strncmp(head, "HTTP/1.", 7) == 0 && head[7] >= '0' && head[7] <= '9' && strncmp(head + 8, " 200", 4) == 0 &&
           (head[12] == ' ' || head[12] == '\r');
}

bool IsDigitOf(char c, int base)
{
    if (c >= '0' && c <= '9')
        return true;
    return base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// A decimal or hexadecimal count with nothing after it but what ends it.
bool ParseCount(const char* text, int base, const char* allowedAfter, size_t* count)
{
    if (!IsDigitOf(*text, base))
        return false;  // strtoull would take signs and blanks
    char* end = nullptr;
    unsigned long long value = strtoull(text, &end, base);
    if ((*end != '\0' && !strchr(allowedAfter, *end)) || value > 0x7FFFFFFFull)
        return false;
    *count = static_cast<size_t>(value);
    return true;
}

// Joins the chunks of a chunked body in place; false when it is malformed or
// ends before its last chunk.
bool Dechunk(char* body, size_t* length)
{
    size_t in = 0;
    size_t out = 0;
    for (;;) {
        const char* lineEnd = FindBytes(body + in, *length - in, "\r\n");
        if (!lineEnd)
            return false;
        char sizeText[24];
        size_t n = static_cast<size_t>(lineEnd - (body + in));
        if (n == 0 || n >= sizeof sizeText)
            return false;
        memcpy(sizeText, body + in, n);
        sizeText[n] = '\0';
        size_t chunk = 0;
        if (!ParseCount(sizeText, 16, "; \t", &chunk))
            return false;
        in += n + 2;
        if (chunk == 0) {
            *length = out;
            return true;
        }
        if (chunk > *length - in || *length - in - chunk < 2 || memcmp(body + in + chunk, "\r\n", 2) != 0)
            return false;
        memmove(body + out, body + in, chunk);
        out += chunk;
        in += chunk + 2;
    }
}

// Moves the body of the answer in buffer to its start; false unless the
// answer is a whole 200. The status of any other answer goes to status.
bool TakeBody(char* buffer, size_t received, size_t* length, char* status, size_t statusCapacity)
{
    const char* headEnd = FindBytes(buffer, received < HeadCapacity ? received : HeadCapacity, "\r\n\r\n");
    if (!headEnd)
        return false;
    size_t headLength = static_cast<size_t>(headEnd - buffer) + 2;  // with the last line's break
    char head[HeadCapacity + 1];
    memcpy(head, buffer, headLength);
    head[headLength] = '\0';
    if (memchr(head, '\0', headLength) || !IsOk(head)) {
        if (status && headLength > 9 && strncmp(head, "HTTP/1.", 7) == 0)
            CopyStatusLine(head + 9, headLength - 9, status, statusCapacity);
        return false;
    }
    size_t bodyStart = headLength + 2;
    *length = received - bodyStart;
    memmove(buffer, buffer + bodyStart, *length);

    char value[64];
    HeaderValue(head, "Transfer-Encoding", value, sizeof value);
    if (value[0] != '\0')
        return _stricmp(value, "chunked") == 0 && Dechunk(buffer, length);
    HeaderValue(head, "Content-Length", value, sizeof value);
    if (value[0] == '\0')
        return true;
    size_t declared = 0;
    if (!ParseCount(value, 10, " \t", &declared) || declared > *length)
        return false;  // cut short
    *length = declared;
    return true;
}

}  // namespace

DWORD TimeLeft(DWORD deadline)
{
    long left = static_cast<long>(deadline - GetTickCount());
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

bool HttpGet(const HttpGetRequest& request, char* body, size_t capacity, size_t* length)
{
    *length = 0;
    ClientSocket socket;
    if (socket.Startup() != 0 || !socket.Open(request.port, request.address))
        return false;
    DWORD connectMs = TimeLeft(request.deadline);
    if (connectMs > request.connectTimeoutMs)
        connectMs = request.connectTimeoutMs;
    if (connectMs == 0 || !socket.ConnectWithin(connectMs)) {
        socket.Close();
        return false;
    }
    size_t received = 0;
    bool whole = SendRequest(socket, request) && ReceiveAll(socket, request.deadline, body, capacity, &received);
    socket.Close();
    return whole && TakeBody(body, received, length, request.status, request.statusCapacity);
}

void CopyStatusLine(const char* bytes, size_t length, char* text, size_t capacity)
{
    if (capacity == 0)
        return;
    text[0] = '\0';
    bool coded = length >= 4 && IsDigitOf(bytes[0], 10) && IsDigitOf(bytes[1], 10) && IsDigitOf(bytes[2], 10) &&
                 bytes[3] == ' ';
    size_t n = 0;
    for (size_t i = 0; coded && i < length && bytes[i] != '\r' && bytes[i] != '\n' && n + 1 < capacity; ++i)
        text[n++] = bytes[i] >= 0x20 && bytes[i] < 0x7F ? bytes[i] : '?';  // the server's words, never its bytes
    if (coded)
        text[n] = '\0';
}
