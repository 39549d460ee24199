#!/usr/bin/env python3
"""Checks the release package in FOLDER as a user gets it: the zip's layout,
each program's word size, kind and version, the manual as Notepad reads it,
the SHA256SUMS line, and that the programs are those the tests ran (the
tests' bin folders, 32-bit then 64-bit, where given)."""
import hashlib, os, re, struct, sys, zipfile

folder, tested = sys.argv[1], sys.argv[2:]
sums = open(os.path.join(folder, "SHA256SUMS")).read()
m = re.fullmatch(r"([0-9a-f]{64})  (velkin-(\d+)\.(\d+)\.zip)\n", sums)
assert m, "SHA256SUMS: %r" % sums
digest, name, major, minor = m.groups()
path = os.path.join(folder, name)
assert hashlib.sha256(open(path, "rb").read()).hexdigest() == digest, "the zip's SHA-256 differs from SHA256SUMS"
top = name[:-4] + "/"
archive = zipfile.ZipFile(path)
names = ["velkin.exe", "vlkcfg.exe", "x64/velkin.exe", "x64/vlkcfg.exe", "readme.txt"]
files = sorted(n for n in archive.namelist() if not n.endswith("/"))
assert files == sorted(top + n for n in names), files
assert set(archive.namelist()) - set(files) <= {top, top + "x64/"}, archive.namelist()

for n in names[:4]:
    exe = archive.read(top + n)
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    assert exe[:2] == b"MZ" and exe[pe:pe + 4] == b"PE\0\0", n
    machine = struct.unpack_from("<H", exe, pe + 4)[0]
    assert machine == (0x8664 if n.startswith("x64/") else 0x14C), "%s: machine %#x" % (n, machine)
    assert struct.unpack_from("<H", exe, pe + 24 + 68)[0] == 2, n + " is not a Windows GUI program"
    assert struct.unpack_from("<I", exe, pe + 12)[0] == 0, n + " is not stripped"
    fixed = exe.find(struct.pack("<I", 0xFEEF04BD))
    assert struct.unpack_from("<I", exe, fixed + 8)[0] == int(major) << 16 | int(minor), n + ": FILEVERSION"
    value = "FileVersion\0".encode("utf-16-le")
    at = exe.find(value) + len(value)
    at += at % 4  # the value starts on a 32-bit boundary
    assert exe[at:at + 10].decode("utf-16-le") == "%s.%s\0" % (major, minor), n + ": FileVersion"
    assert b"<assembly" in exe and b"requestedExecutionLevel" in exe, n + " has no manifest"
    if tested:
        ran = open(os.path.join(tested[n.startswith("x64/")], os.path.basename(n)), "rb").read()
        assert ran == exe, n + " differs from the program the tests ran"
assert archive.getinfo(top + "velkin.exe").file_size <= 128 * 1024, "velkin.exe is over 128 KiB"
assert archive.getinfo(top + "vlkcfg.exe").file_size <= 96 * 1024, "vlkcfg.exe is over 96 KiB"

readme = archive.read(top + "readme.txt")
readme.decode("shift_jis")
lines = readme.split(b"\r\n")
assert lines[-1] == b"" and len(lines) > 100, "readme.txt does not end in CR LF or is too short"
for number, line in enumerate(lines, 1):
    assert b"\r" not in line and b"\n" not in line, "readme.txt line %d: a line end other than CR LF" % number
    # In Notepad's fixed-width font a two-byte character is two columns wide.
    assert len(line) <= 80, "readme.txt line %d is %d columns wide" % (number, len(line))
print("%s: %s" % (name, "the package is sound"))
