#include "CddbTestServer.h"

#include <algorithm>

CddbTestServer::CddbTestServer()
    : stopping(CreateEventA(nullptr, TRUE, FALSE, nullptr)), released(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    thread = std::thread([this] { Serve(); });
}

CddbTestServer::~CddbTestServer()
{
    SetEvent(stopping);
    thread.join();
    CloseHandle(stopping);
    CloseHandle(released);
}

void CddbTestServer::Answer(const std::string& command, const std::string& body, DWORD delayMs)
{
    AnswerRaw({command, HttpOk(body), delayMs});
}

void CddbTestServer::AnswerRaw(const Rule& rule)
{
    std::lock_guard<std::mutex> guard(lock);
    rules.push_back(rule);
}

void CddbTestServer::Clear()
{
    std::lock_guard<std::mutex> guard(lock);
    rules.clear();
    requests.clear();
}

std::vector<std::string> CddbTestServer::Requests() const
{
    std::lock_guard<std::mutex> guard(lock);
    return requests;
}

std::vector<std::string> CddbTestServer::RequestLines() const
{
    std::vector<std::string> lines;
    for (const std::string& head : Requests())
        lines.push_back(head.substr(0, head.find("\r\n")));
    return lines;
}

std::string CddbTestServer::HttpOk(const std::string& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=UTF-8\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

bool CddbTestServer::Wait(DWORD ms)
{
    if (ms != INFINITE)
        return WaitForSingleObject(stopping, ms) == WAIT_TIMEOUT;
    HANDLE events[] = {stopping, released};
    return WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
}

void CddbTestServer::Serve()
{
    while (Wait(0)) {
        SOCKET connection = listener.Accept(50);
        if (connection == INVALID_SOCKET)
            continue;
        handlers.emplace_back([this, connection] {
            Handle(connection);
            closesocket(connection);
        });
    }
    for (std::thread& handler : handlers)
        handler.join();
}

void CddbTestServer::Handle(SOCKET connection)
{
    DWORD patience = 5000;
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&patience), sizeof patience);
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        int n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        head.append(buffer, n);
    }
    std::string line = head.substr(0, head.find("\r\n"));
    size_t at = line.find("cmd=");
    std::string command = at == std::string::npos ? "" : line.substr(at + 4);
    Rule rule = {"", "HTTP/1.0 500 Internal Server Error\r\n\r\n"};
    {
        std::lock_guard<std::mutex> guard(lock);
        requests.push_back(head);
        for (const Rule& candidate : rules) {
            std::string words = candidate.command;
            std::replace(words.begin(), words.end(), ' ', '+');
            if (command.compare(0, words.size(), words) == 0) {
                rule = candidate;
                break;
            }
        }
    }
    if (!Wait(rule.delayMs))
        return;
    size_t length = std::min(rule.cutAfter, rule.response.size());
    for (size_t sent = 0; sent < length;) {
        int n = send(connection, rule.response.data() + sent, static_cast<int>(length - sent), 0);
        if (n <= 0)
            return;
        sent += static_cast<size_t>(n);
    }
    if (rule.holdOpen)
        WaitForSingleObject(stopping, INFINITE);
}

std::string CddbQueryBody(const std::vector<std::string>& matches, int code)
{
    if (matches.empty())
        return "202 No match for disc ID.\r\n";
    if (code == 0)
        code = matches.size() == 1 ? 200 : 210;
    if (code == 200)
        return "200 " + matches[0] + "\r\n";
    std::string body = std::to_string(code) + (code == 210 ? " Found exact matches" : " Found inexact matches") +
                       ", list follows (until terminating `.')\r\n";
    for (const std::string& match : matches)
        body += match + "\r\n";
    return body + ".\r\n";
}
