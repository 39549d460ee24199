#!/usr/bin/env python3
"""Writes velkin-<version>.zip and SHA256SUMS: the programs of both word sizes
and the manual in Shift_JIS with CR LF, in a fixed order, with the commit's
time and fixed permissions, so that one commit always gives the same bytes."""
import argparse
import hashlib
import os
import time
import zipfile


def manual_text(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    # Notepad on Japanese Windows reads Shift_JIS with CR LF line ends.
    return "".join(line + "\r\n" for line in lines).encode("shift_jis")


def entry(name, stamp, mode):
    info = zipfile.ZipInfo(name, date_time=stamp)
    info.create_system = 3  # Unix, so that the permissions below count
    info.external_attr = mode << 16
    if name.endswith("/"):
        info.external_attr |= 0x10  # MS-DOS directory flag
    else:
        info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main():
    parser = argparse.ArgumentParser()
    for option in ("version", "time", "manual", "win32", "win64", "out"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()

    stamp = time.gmtime(int(args.time))[:6]
    top = "velkin-%s/" % args.version
    files = [
        ("velkin.exe", os.path.join(args.win32, "velkin.exe")),
        ("vlkcfg.exe", os.path.join(args.win32, "vlkcfg.exe")),
        ("x64/", None),
        ("x64/velkin.exe", os.path.join(args.win64, "velkin.exe")),
        ("x64/vlkcfg.exe", os.path.join(args.win64, "vlkcfg.exe")),
    ]
    name = "velkin-%s.zip" % args.version
    path = os.path.join(args.out, name)
    with zipfile.ZipFile(path, "w") as archive:
        archive.writestr(entry(top, stamp, 0o40755), b"")
        for inside, source in files:
            data = b""
            if source:
                with open(source, "rb") as f:
                    data = f.read()
            archive.writestr(entry(top + inside, stamp, 0o40755 if not source else 0o100644), data, compresslevel=9)
        archive.writestr(entry(top + "readme.txt", stamp, 0o100644), manual_text(args.manual), compresslevel=9)

    with open(path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    with open(os.path.join(args.out, "SHA256SUMS"), "w") as f:
        f.write("%s  %s\n" % (digest, name))
    print("%s\n%s  %s" % (path, digest, name))


if __name__ == "__main__":
    main()
