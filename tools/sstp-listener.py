#!/usr/bin/env python3
"""A small SSTP server for the demo: accepts each connection on 127.0.0.1,
reads the request until the client closes it, and prints it decoded from
Shift_JIS (cp932). Nothing is answered: the player reads no answer.

usage: sstp-listener.py [--port N] [--port-file FILE]
Port 0 (the default) lets the system choose; the port in use is written to
--port-file when given, so a script can wait for it."""

import argparse
import datetime
import socket
import sys


def show(request: bytes) -> None:
    text = request.decode("cp932", errors="replace")
    stamp = datetime.datetime.now().strftime("%H:%M:%S")
    print(f"--- SSTP {stamp} ({len(request)} bytes)")
    for line in text.split("\r\n"):
        if line:
            print(f"    {line}")
    sys.stdout.flush()


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    args = parser.parse_args()

    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", args.port))
    server.listen(5)
    port = server.getsockname()[1]
    if args.port_file:
        with open(args.port_file, "w") as f:
            f.write(f"{port}\n")
    print(f"SSTP listener on 127.0.0.1:{port}")
    sys.stdout.flush()

    while True:
        connection, _ = server.accept()
        connection.settimeout(5)
        request = b""
        try:
            while True:
                chunk = connection.recv(4096)
                if not chunk:
                    break
                request += chunk
        except OSError:
            pass
        connection.close()
        if request:
            show(request)


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(0)
