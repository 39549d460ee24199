// The demo's disc database: answers CDDB over HTTP on 127.0.0.1 from xmcd
// entries as a server does (the same server the tests ask), and prints each
// command it is asked.
//
//   cddbserver <port file> <category>-<discid>.xmcd...
//
// A query for a disc with an entry is answered 200, any other 202; a read of
// an entry gives 210 and the entry, any other 401. The port, of the system's
// choosing, is written to the port file once the server listens.
#include "CddbTestServer.h"

#include <stdio.h>

#include <fstream>
#include <sstream>

namespace {

// The entry's lines, each ended by CR LF as they go out.
std::string WireLines(const std::string& text)
{
    std::string lines, line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines += line + "\r\n";
    }
    return lines;
}

bool AddEntry(CddbTestServer& server, const std::string& path)
{
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    size_t dash = name.find('-'), dot = name.rfind(".xmcd");
    std::ifstream file(path, std::ios::binary);
    if (dash == std::string::npos || dot == std::string::npos || dot < dash || !file)
        return false;
    std::string category = name.substr(0, dash), discId = name.substr(dash + 1, dot - dash - 1);
    std::stringstream text;
    text << file.rdbuf();
    std::string lines = WireLines(text.str()), title;
    size_t at = lines.find("DTITLE=");
    if (at != std::string::npos)
        title = lines.substr(at + 7, lines.find("\r\n", at) - at - 7);
    server.Answer("cddb query " + discId, "200 " + category + " " + discId + " " + title + "\r\n");
    server.Answer("cddb read " + category + " " + discId,
                  "210 " + category + " " + discId + " CD database entry follows (until terminating `.')\r\n" + lines +
                      ".\r\n");
    return true;
}

// "cddb query 0f034803 ..." from the request line.
std::string Command(const std::string& requestLine)
{
    size_t at = requestLine.find("cmd=");
    std::string command = at == std::string::npos ? requestLine : requestLine.substr(at + 4);
    command = command.substr(0, command.find_first_of("& "));
    for (char& c : command)
        c = c == '+' ? ' ' : c;
    return command;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: cddbserver <port file> <category>-<discid>.xmcd...\n");
        return 2;
    }
    CddbTestServer server;
    for (int i = 2; i < argc; ++i) {
        if (!AddEntry(server, argv[i])) {
            fprintf(stderr, "%s: no <category>-<discid>.xmcd file\n", argv[i]);
            return 2;
        }
    }
    server.Answer("cddb query", "202 No match for disc ID.\r\n");
    server.Answer("cddb read", "401 No such CD entry in database.\r\n");
    std::ofstream(argv[1]) << server.Port() << "\n";
    printf("CDDB server on 127.0.0.1:%d, %d disc(s)\n", server.Port(), argc - 2);
    fflush(stdout);
    for (size_t seen = 0;; Sleep(100)) {
        std::vector<std::string> lines = server.RequestLines();
        for (; seen < lines.size(); ++seen)
            printf("--- CDDB %s\n", Command(lines[seen]).c_str());
        fflush(stdout);
    }
}
