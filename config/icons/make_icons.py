#!/usr/bin/env python3
"""Draws the configuration program's page icons and writes them as .ico files.

Each icon is a list of filled shapes painted back to front. Every pixel is
sampled 4 x 4 times, so edges come out smooth at every size (but for the
32-pixel bitmap's edge, which is its mask's): 16, 20, 24 and
32 pixels for the tabs and title bar, 32, 48 and 64 for the pages' corners at
96, 144 and 192 dpi (40 pixels, at 120 dpi, are scaled down from 48). The 32
comes first: it is the size that an icon control takes by itself.
Usage: make_icons.py OUTPUT_FOLDER
"""
import math
import struct
import sys
import zlib

SIZES = (32, 16, 20, 24, 48, 64)
SUBSAMPLES = 4


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, inner, outer):
    return lambda x, y: inner * inner < (x - cx) ** 2 + (y - cy) ** 2 <= outer * outer


def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def gear(cx, cy, outer, inner, hole, teeth):
    def inside(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        if d <= hole:
            return False
        angle = (math.atan2(dy, dx) / (2 * math.pi) * teeth) % 1.0
        tip = outer if 0.25 <= angle <= 0.75 else inner
        return d <= tip
    return inside


def shade(top_color, bottom_color, top, bottom):
    """A vertical gradient between two colours, as a colour function."""
    def colour(x, y):
        t = min(max((y - top) / (bottom - top), 0.0), 1.0)
        return tuple(round(a + (b - a) * t) for a, b in zip(top_color, bottom_color))
    return colour


def solid(rgb):
    return lambda x, y: rgb


# Coordinates are on a 32-unit square, drawn at each size to scale.
GENERAL = [
    # A disc seen from the front, with a gear for "settings".
    (circle(14, 14, 13.5), solid((90, 90, 110))),
    (circle(14, 14, 12.5), shade((235, 240, 250), (160, 175, 205), 2, 27)),
    (ring(14, 14, 5.5, 11), shade((205, 225, 255), (150, 120, 210), 4, 25)),
    (circle(14, 14, 4.5), solid((90, 90, 110))),
    (circle(14, 14, 3.2), None),
    (gear(23.5, 23.5, 8.5, 6.5, 2.5, 8), solid((60, 70, 90))),
    (gear(23.5, 23.5, 7.5, 5.5, 3.0, 8), shade((250, 210, 90), (215, 140, 30), 16, 31)),
    (circle(23.5, 23.5, 2.5), None),
]

SHORTCUT = [
    # Two key caps: a wide modifier key behind, a key with a return arrow.
    (rounded_rect(1, 3, 19, 19, 3), solid((70, 70, 80))),
    (rounded_rect(2, 4, 18, 16, 2.5), shade((250, 250, 250), (200, 200, 210), 4, 16)),
    (rounded_rect(10, 11, 31, 30, 3.5), solid((50, 60, 90))),
    (rounded_rect(11, 12, 30, 26.5, 3), shade((255, 255, 255), (195, 205, 225), 12, 27)),
    (polygon([(25, 15), (27, 15), (27, 22.5), (19.5, 22.5), (19.5, 25), (15, 21.25),
              (19.5, 17.5), (19.5, 20), (25, 20)]), solid((30, 90, 190))),
]

SSTP = [
    # A speech balloon with a musical note: "now playing" sent to a mascot.
    (rounded_rect(1, 2, 31, 23, 6), solid((40, 90, 160))),
    (polygon([(7, 21), (15, 21), (5, 30.5)]), solid((40, 90, 160))),
    (rounded_rect(2.5, 3.5, 29.5, 21.5, 5), shade((255, 255, 255), (215, 230, 250), 3, 22)),
    (polygon([(8.2, 20), (13, 20), (7.2, 26.5)]), solid((225, 236, 250))),
    (circle(12.5, 16, 3.2), solid((210, 60, 80))),
    (polygon([(14.2, 16), (15.7, 16), (15.7, 6), (14.2, 6)]), solid((210, 60, 80))),
    (polygon([(15.7, 6), (22, 8.5), (22, 11.5), (15.7, 9)]), solid((210, 60, 80))),
    (circle(20, 16, 1.6), solid((40, 90, 160))),
    (circle(24.5, 16, 1.6), solid((40, 90, 160))),
]

CDDB = [
    # A disc under a magnifying glass: its titles looked up in a database.
    (circle(13, 13, 12.5), solid((90, 90, 110))),
    (circle(13, 13, 11.5), shade((240, 242, 250), (170, 178, 200), 1, 25)),
    (ring(13, 13, 5, 10.5), shade((255, 236, 200), (225, 150, 120), 3, 24)),
    (circle(13, 13, 4), solid((90, 90, 110))),
    (circle(13, 13, 2.8), None),
    (polygon([(24, 26.5), (26.5, 24), (31.5, 29), (29, 31.5)]), solid((70, 50, 35))),
    (circle(20.5, 20.5, 7.8), solid((40, 60, 110))),
    (circle(20.5, 20.5, 6), shade((235, 245, 255), (150, 195, 240), 14, 27)),
    (polygon([(16.5, 19), (18.5, 16.5), (20, 17.5), (18, 20)]), solid((255, 255, 255))),
]


def render(shapes, size):
    """Returns size x size RGBA pixels, top row first."""
    scale = 32.0 / size
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    x = (px + (sx + 0.5) / SUBSAMPLES) * scale
                    y = (py + (sy + 0.5) / SUBSAMPLES) * scale
                    colour = None
                    for inside, paint in shapes:
                        if inside(x, y):
                            colour = paint(x, y) if paint else None
                    if colour:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        a += 1
            n = SUBSAMPLES * SUBSAMPLES
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def mask_bits(pixels):
    """The AND mask, bottom row first: 1 where the image lets the page show."""
    size = len(pixels)
    stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(pixels):
        bits = 0
        for i, p in enumerate(row):
            if p[3] < 128:
                bits |= 1 << (stride * 8 - 1 - i)
        mask += bits.to_bytes(stride, 'big')
    return mask


def dib(pixels):
    """A 32-bit icon image: header, bottom-up BGRA rows, then the AND mask."""
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(pixels) for p in row)
    return header + colour + mask_bits(pixels)


def median_cut(colours, count):
    """At most count colours standing for the weighted colours given."""
    boxes = [list(colours.items())]
    while len(boxes) < count:
        def spread(box):
            return max(max(c[i] for c, _ in box) - min(c[i] for c, _ in box) for i in range(3))
        box = max(boxes, key=lambda b: spread(b) if len(b) > 1 else -1)
        if len(box) < 2:
            break
        channel = max(range(3), key=lambda i: max(c[i] for c, _ in box) - min(c[i] for c, _ in box))
        box.sort(key=lambda item: item[0][channel])
        boxes.remove(box)
        boxes += [box[:len(box) // 2], box[len(box) // 2:]]
    return [tuple(round(sum(c[i] * n for c, n in box) / sum(n for _, n in box)) for i in range(3)) for box in boxes]


def dib8(pixels):
    """An 8-bit icon image, half the 32-bit one: its edges are the mask's."""
    size = len(pixels)
    colours = {}
    for row in pixels:
        for p in row:
            if p[3] >= 128:
                colours[p[:3]] = colours.get(p[:3], 0) + 1
    palette = [(0, 0, 0)] + median_cut(colours, 255)  # black under the mask
    nearest = {c: min(range(1, len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(c, palette[i])))
               for c in colours}
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, 0, 0, 0, len(palette), 0)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    rows = b''.join(bytes(nearest[p[:3]] if p[3] >= 128 else 0 for p in row) + bytes(-size % 4)
                    for row in reversed(pixels))
    return header + table + rows + mask_bits(pixels)


def png(pixels):
    """A PNG icon image, with the edges' soft alpha."""
    size = len(pixels)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    rows = b''.join(b'\0' + bytes(v for p in row for v in p) for row in pixels)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))


def ico(shapes):
    # Windows XP asks only for 16 and 32 pixels, so those are bitmaps (the 32
    # of 8 bits, to keep vlkcfg small); the sizes of higher scales, which only
    # later Windows ask for, are PNG images, a fifth as large.
    encoders = {16: (dib, 32), 32: (dib8, 8)}
    images = []
    for size in SIZES:
        encode, depth = encoders.get(size, (png, 32))
        images.append((size, depth, encode(render(shapes, size))))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, depth, image in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, depth, len(image), offset)
        offset += len(image)
    return out + b''.join(image for _, _, image in images)


def main():
    folder = sys.argv[1]
    for name, shapes in (('general', GENERAL), ('shortcut', SHORTCUT), ('sstp', SSTP), ('cddb', CDDB)):
        with open(f'{folder}/{name}.ico', 'wb') as f:
            f.write(ico(shapes))


if __name__ == '__main__':
    main()
