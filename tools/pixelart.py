#!/usr/bin/env python3
"""Turns text pixel maps into 16-colour .bmp and .ico files (4 bits a pixel,
with only the colours each image uses in its palette).

A map file is named after its output with ".txt" added ("108-play.bmp.txt",
"102-velkin.ico.txt"). Lines starting with "#" are comments. Every other
non-empty line is one row of pixels, one character a pixel, from the palette
below. An .ico file holds one or more images separated by blank lines; "_"
is transparent there.

A bitmap's map may go on with shape lines, "= OUTLINE FILL SHAPE NUMBERS...",
which draw the same picture again for larger display scales: into
NAME-120.bmp, NAME-144.bmp and NAME-192.bmp, of SCALED_SIZES pixels. The
numbers are on the grid of the hand-drawn map (0 to its width, pixel edges);
OUTLINE and FILL are palette characters, "-" for none. An icon's map may
have shape lines too, after "= grid N sizes A B ...": they draw the icon's
images of those sizes, on a transparent ground, the numbers on an N grid.
Shapes:
  polygon X,Y X,Y ...     rect LEFT,TOP RIGHT,BOTTOM     circle X,Y RADIUS
  line X,Y X,Y WIDTH      arc X,Y RADIUS WIDTH FROM_DEGREES TO_DEGREES
  gear X,Y OUTER INNER TEETH
Whole numbers fall on pixel edges, others on pixel centres, and a pixel
belongs to a shape when its centre does: edges stay sharp at every size. The
outline is a whole number of pixels wide.

usage: pixelart.py OUTPUT_FOLDER MAP_FILE...
"""
import math
import os
import struct
import sys

# Menu images for 120, 144 and 192 dpi: the hand-drawn 11 pixels of 96 dpi
# drawn again for the menu check box of each scale (15, 19 and 25 pixels),
# with the margin of the hand-drawn ones.
SCALED_SIZES = {120: 13, 144: 17, 192: 23}

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


def read_images(path, shapes=None):
    images, rows = [], []
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if line.startswith('#'):
                continue
            if line.startswith('='):
                shapes.append(line[1:].split())
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


def numbers(words):
    return [float(v) for word in words for v in word.split(',')]


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if not length else min(max(((px - ax) * dx + (py - ay) * dy) / length, 0.0), 1.0)
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def polygon_distance(points, x, y):
    """Signed: below zero inside."""
    inside, edge = False, float('inf')
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[i - 1]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        edge = min(edge, segment_distance(x, y, xi, yi, xj, yj))
    return -edge if inside else edge


def gear_distance(cx, cy, outer, inner, teeth, x, y):
    """A disc of radius inner with square teeth out to outer; approximate
    outside the teeth, exact enough at their edges."""
    d = math.hypot(x - cx, y - cy)
    angle = math.atan2(y - cy, x - cx)
    half = math.pi / teeth / 2  # a tooth is as wide as a gap
    nearest = round(angle / (2 * math.pi / teeth)) * (2 * math.pi / teeth)
    off = abs(math.remainder(angle - nearest, 2 * math.pi))
    side = (off - half) * d  # distance to the tooth's side, along the circle
    tooth = max(d - outer, side)
    return min(d - inner, tooth)


def snap(value, scale):
    """A whole number of the grid on a pixel edge, any other on the nearest
    pixel centre: the drawing stays sharp and centred at every size."""
    if value == int(value):
        return float(round(value * scale))
    return math.floor(value * scale) + 0.5


def stroke(width, scale):
    """Half a line's width in whole pixels; a thin one a little more, so that
    it does not break up where it runs aslant."""
    pixels = max(1, round(width * scale))
    return 0.6 if pixels == 1 else pixels / 2


def shape_distance(kind, values, scale):
    """The signed distance function of a shape, in pixels at this scale."""
    v = [snap(n, scale) for n in values]
    if kind == 'polygon':
        points = list(zip(v[0::2], v[1::2]))
        return lambda x, y: polygon_distance(points, x, y)
    if kind == 'rect':
        left, top, right, bottom = v
        points = [(left, top), (right, top), (right, bottom), (left, bottom)]
        return lambda x, y: polygon_distance(points, x, y)
    if kind == 'circle':
        cx, cy, r = v[0], v[1], values[2] * scale
        return lambda x, y: math.hypot(x - cx, y - cy) - r
    if kind == 'line':
        ax, ay, bx, by = v[:4]
        half = stroke(values[4], scale)
        return lambda x, y: segment_distance(x, y, ax, ay, bx, by) - half
    if kind == 'arc':
        cx, cy, r = v[0], v[1], values[2] * scale
        half = stroke(values[3], scale)
        start, end = math.radians(values[4]), math.radians(values[5])

        def arc(x, y):
            angle = math.atan2(y - cy, x - cx)
            if (angle - start) % (2 * math.pi) <= (end - start) % (2 * math.pi):
                return abs(math.hypot(x - cx, y - cy) - r) - half
            ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (start, end)]
            return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - half
        return arc
    if kind == 'gear':
        cx, cy, outer, inner = v[0], v[1], values[2] * scale, values[3] * scale
        return lambda x, y: gear_distance(cx, cy, outer, inner, int(values[4]), x, y)
    sys.exit('unknown shape %r' % kind)


def draw_shapes(shapes, grid, size, path, background='.'):
    """The shapes on the background, size pixels square."""
    scale = size / grid
    outline = max(1, int(scale + 0.25))
    pixels = [[background] * size for _ in range(size)]
    for words in shapes:
        if len(words) < 4:
            sys.exit('%s: a shape line is "= OUTLINE FILL SHAPE NUMBERS"' % path)
        edge, fill, kind = words[0], words[1], words[2]
        distance = shape_distance(kind, numbers(words[3:]), scale)
        for y in range(size):
            for x in range(size):
                d = distance(x + 0.5, y + 0.5)
                if d >= 0:
                    continue
                if edge != '-' and d >= -outline:
                    pixels[y][x] = edge
                elif fill != '-':
                    pixels[y][x] = fill
    return [''.join(row) for row in pixels]


def icon_sizes(shapes, path):
    """An icon's images drawn from its shapes: the first shape line is
    "= grid N sizes A B ...", the grid the numbers are on and the sizes."""
    if not shapes:
        return []
    words = shapes[0]
    if len(words) < 4 or words[0] != 'grid' or words[2] != 'sizes':
        sys.exit('%s: an icon\'s shapes start with "= grid N sizes A B ..."' % path)
    grid = int(words[1])
    return [draw_shapes(shapes[1:], grid, int(size), path, TRANSPARENT) for size in words[3:]]


def colours_of(rows):
    """The palette characters an image uses, in palette order; a transparent
    pixel is black, which leaves the screen as it is under the mask."""
    used = {'k' if ch == TRANSPARENT else ch for row in rows for ch in row}
    return [ch for ch, _ in PALETTE if ch in used]


def palette_bytes(colours):
    """Only the colours used: most images need a handful of the sixteen."""
    rgb = dict(PALETTE)
    return b''.join(struct.pack('<BBBB', rgb[ch][2], rgb[ch][1], rgb[ch][0], 0) for ch in colours)


def pixel_rows(rows, colours):
    """4-bit pixels, bottom row first, each row padded to 32 bits."""
    index = {ch: i for i, ch in enumerate(colours)}
    index[TRANSPARENT] = index.get('k', 0)
    out = b''
    for row in reversed(rows):
        nibbles = [index[ch] for ch in row]
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


def info_header(width, height, image_size, colour_count):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, colour_count, 0)


def make_bmp(rows):
    colours = colours_of(rows)
    pixels = pixel_rows(rows, colours)
    header = info_header(len(rows[0]), len(rows), len(pixels), len(colours)) + palette_bytes(colours)
    offset = 14 + len(header)
    return struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + header + pixels


def make_ico(images):
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for rows in images:
        width, height = len(rows[0]), len(rows)
        colours = colours_of(rows)
        pixels, mask = pixel_rows(rows, colours), mask_rows(rows)
        blob = info_header(width, height * 2, len(pixels) + len(mask), len(colours)) + palette_bytes(colours)
        blob += pixels + mask
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
        shapes = []
        images = read_images(path, shapes)
        if output.endswith('.bmp'):
            if len(images) != 1:
                sys.exit('%s: a bitmap holds one image' % path)
            data = make_bmp(images[0])
            for dpi, size in SCALED_SIZES.items():
                if not shapes:
                    sys.exit('%s: no shapes for the larger scales' % path)
                with open('%s-%d.bmp' % (output[:-4], dpi), 'wb') as f:
                    f.write(make_bmp(draw_shapes(shapes, len(images[0][0]), size, path)))
        elif output.endswith('.ico'):
            data = make_ico(images + icon_sizes(shapes, path))
        else:
            sys.exit('%s: output must be .bmp or .ico' % path)
        with open(output, 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
