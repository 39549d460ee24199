#!/usr/bin/env python3
"""A small CDDB server for the demo: answers CDDB over HTTP on 127.0.0.1 as a
disc database does, from xmcd entries kept in files, and prints each request.

usage: cddb-server.py [--port N] [--port-file FILE] ENTRY...
Each ENTRY is a file "<category>-<discid>.xmcd" in UTF-8 (DISCID=, DTITLE=,
TTITLE0=, ...). A query whose disc ID has an entry is answered 200 with it,
any other 202; a read of an entry gives 210 and the entry, anything else 401.
Port 0 (the default) lets the system choose; the port in use is written to
--port-file when given, so a script can wait for it."""

import argparse
import datetime
import os
import re
import sys
import urllib.parse
from http.server import BaseHTTPRequestHandler, HTTPServer


def load(paths):
    entries = {}
    for path in paths:
        name = os.path.basename(path)
        match = re.fullmatch(r"([a-z]+)-([0-9a-f]{8})\.xmcd", name)
        if not match:
            sys.exit(f"{name}: not <category>-<discid>.xmcd")
        with open(path, encoding="utf-8") as f:
            text = f.read()
        title = re.search(r"^DTITLE=(.*)$", text, re.M)
        entries[match.group(2)] = (match.group(1), title.group(1) if title else "", text)
    return entries


class Handler(BaseHTTPRequestHandler):
    entries = {}

    def log_message(self, *args):
        pass

    def answer(self, body: str) -> None:
        data = body.encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", "text/plain; charset=UTF-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query)
        words = query.get("cmd", [""])[0].split()
        hello = query.get("hello", [""])[0]
        stamp = datetime.datetime.now().strftime("%H:%M:%S")
        print(f"--- CDDB {stamp} {' '.join(words)}  (hello {hello}, proto {query.get('proto', ['?'])[0]})")
        if words[:2] == ["cddb", "query"] and len(words) >= 3:
            entry = self.entries.get(words[2].lower())
            if entry:
                body = f"200 {entry[0]} {words[2].lower()} {entry[1]}\r\n"
            else:
                body = f"202 No match for disc ID {words[2]}.\r\n"
        elif words[:2] == ["cddb", "read"] and len(words) == 4 and words[3] in self.entries \
                and self.entries[words[3]][0] == words[2]:
            entry = self.entries[words[3]]
            body = f"210 {entry[0]} {words[3]} CD database entry follows (until terminating `.')\r\n"
            body += entry[2].replace("\r\n", "\n").rstrip("\n").replace("\n", "\r\n") + "\r\n.\r\n"
        else:
            body = "401 No such CD entry in database.\r\n" if words[:2] == ["cddb", "read"] \
                else "500 Unrecognized command.\r\n"
        print(f"    answered: {body.splitlines()[0]}")
        sys.stdout.flush()
        self.answer(body)


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("entries", nargs="+")
    args = parser.parse_args()

    Handler.entries = load(args.entries)
    server = HTTPServer(("127.0.0.1", args.port), Handler)
    port = server.server_address[1]
    if args.port_file:
        with open(args.port_file, "w") as f:
            f.write(f"{port}\n")
    print(f"CDDB server on 127.0.0.1:{port}, {len(Handler.entries)} disc(s)")
    sys.stdout.flush()
    server.serve_forever()
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(0)
