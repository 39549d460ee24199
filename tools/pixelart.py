#!/usr/bin/env python3
"""Turns text pixel maps into 16-colour .bmp and .ico files.

A map file is named after its output with ".txt" added ("108-play.bmp.txt",
"102-velkin.ico.txt"). Lines starting with "#" are comments. Every other
non-empty line is one row of pixels, one character a pixel, from the palette
below. An .ico file holds one or more images separated by blank lines; "_"
is transparent there.

usage: pixelart.py OUTPUT_FOLDER MAP_FILE...
"""
import os
import struct
import sys

# The sixteen colours of the standard VGA palette.
PALETTE = [
    ('k', (0x00, 0x00, 0x00)),  # black
    ('m', (0x80, 0x00, 0x00)),  # maroon
    ('g', (0x00, 0x80, 0x00)),  # green
    ('o', (0x80, 0x80, 0x00)),  # olive
    ('n', (0x00, 0x00, 0x80)),  # navy
    ('p', (0x80, 0x00, 0x80)),  # purple
    ('t', (0x00, 0x80, 0x80)),  # teal
    ('.', (0xC0, 0xC0, 0xC0)),  # silver, the classic menu face
    ('a', (0x80, 0x80, 0x80)),  # gray
    ('r', (0xFF, 0x00, 0x00)),  # red
    ('l', (0x00, 0xFF, 0x00)),  # lime
    ('y', (0xFF, 0xFF, 0x00)),  # yellow
    ('b', (0x00, 0x00, 0xFF)),  # blue
    ('f', (0xFF, 0x00, 0xFF)),  # fuchsia
    ('c', (0x00, 0xFF, 0xFF)),  # aqua
    ('w', (0xFF, 0xFF, 0xFF)),  # white
]
INDEX = {ch: i for i, (ch, _) in enumerate(PALETTE)}
TRANSPARENT = '_'


def read_images(path):
    images, rows = [], []
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if line.startswith('#'):
                continue
            if not line.strip():
                if rows:
                    images.append(rows)
                    rows = []
                continue
            rows.append(line)
    if rows:
        images.append(rows)
    for rows in images:
        width = len(rows[0])
        for number, row in enumerate(rows):
            if len(row) != width:
                sys.exit('%s: row %d is %d pixels wide, not %d' % (path, number + 1, len(row), width))
            for ch in row:
                if ch not in INDEX and ch != TRANSPARENT:
                    sys.exit('%s: unknown pixel %r' % (path, ch))
    return images


def palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for _, (r, g, b) in PALETTE)


def pixel_rows(rows):
    """4-bit pixels, bottom row first, each row padded to 32 bits."""
    out = b''
    for row in reversed(rows):
        nibbles = [INDEX.get(ch, 0) for ch in row]
        if len(nibbles) % 2:
            nibbles.append(0)
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
        out += data + b'\0' * (-len(data) % 4)
    return out


def mask_rows(rows):
    """1-bit AND mask, bottom row first: 1 where the pixel is transparent."""
    out = b''
    for row in reversed(rows):
        bits = [1 if ch == TRANSPARENT else 0 for ch in row]
        bits += [0] * (-len(bits) % 8)
        data = bytes(sum(bits[i + j] << (7 - j) for j in range(8)) for i in range(0, len(bits), 8))
        out += data + b'\0' * (-len(data) % 4)
    return out


def info_header(width, height, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def make_bmp(rows):
    pixels = pixel_rows(rows)
    header = info_header(len(rows[0]), len(rows), len(pixels)) + palette_bytes()
    offset = 14 + len(header)
    return struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + header + pixels


def make_ico(images):
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for rows in images:
        width, height = len(rows[0]), len(rows)
        pixels, mask = pixel_rows(rows), mask_rows(rows)
        blob = info_header(width, height * 2, len(pixels) + len(mask)) + palette_bytes() + pixels + mask
        entries += struct.pack('<BBBBHHII', width % 256, height % 256, 16, 0, 1, 4, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + entries + blobs


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for path in sys.argv[2:]:
        name = os.path.basename(path)
        if not name.endswith('.txt'):
            sys.exit('%s: a map file name ends with .txt' % path)
        output = os.path.join(folder, name[:-4])
        images = read_images(path)
        if output.endswith('.bmp'):
            if len(images) != 1:
                sys.exit('%s: a bitmap holds one image' % path)
            data = make_bmp(images[0])
        elif output.endswith('.ico'):
            data = make_ico(images)
        else:
            sys.exit('%s: output must be .bmp or .ico' % path)
        with open(output, 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
