"""The .ico file format for the programs' icons, shared by the scripts that
draw them (switcher/win32/make_icon.py, stub/win32/make_icon.py).

An icon holds the artwork drawn anew at every size Windows asks for: the
notification area and small captions at 16, 20 and 24 pixels (100, 125 and
150 % scale), title bars and Alt+Tab at 32 and 40, Explorer at 48, 64 and
256. Each image is 32-bit colour with an alpha channel, so edges blend into
whatever lies behind; the 256-pixel one is stored as PNG, as Windows expects
at that size, to keep the file small."""

import math
import struct
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_FROM = 256


def segment_distance(px, py, ax, ay, bx, by):
    """How far the point (px, py) lies from the segment (ax, ay)-(bx, by);
    the drawings make their strokes of it."""
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def render(paint, size, samples=4):
    """Draws `paint` at `size` x `size` pixels. `paint(x, y, pixel)` gives
    the (r, g, b, a) at the point (x, y) of a 32 x 32 design square, where
    `pixel` is the width of one pixel in design units, for strokes that must
    stay visible at small sizes. Each pixel averages samples x samples
    points of it, which smooths the edges; colour is weighted by alpha so a
    transparent point adds nothing to it. Returns rows, top row first, of
    (r, g, b, a) tuples."""
    unit = 32.0 / size
    step = unit / samples
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(samples):
                y = py * unit + (sy + 0.5) * step
                for sx in range(samples):
                    cr, cg, cb, ca = paint(px * unit + (sx + 0.5) * step, y, unit)
                    r += cr * ca
                    g += cg * ca
                    b += cb * ca
                    a += ca
            n = samples * samples
            if a <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(a / n)))
        rows.append(row)
    return rows


def _bitmap(rows):
    """One image as Windows keeps it in an icon: a 32-bit colour bitmap,
    bottom row first, followed by the 1-bit mask that older code draws
    with (set where the pixel is fully transparent)."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    mask_row_bytes = (size + 31) // 32 * 4
    for row in reversed(rows):
        bits = bytearray(mask_row_bytes)
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def _png(rows):
    size = len(rows)
    raw = bytearray()
    previous = bytes(size * 4)
    for row in rows:
        line = bytes(c for pixel in row for c in pixel)
        # Of filters None, Sub and Up, the one with the smallest sum of
        # magnitudes: the usual guess at what compresses best.
        sub = bytes((line[i] - (line[i - 4] if i >= 4 else 0)) & 0xFF for i in range(len(line)))
        up = bytes((line[i] - previous[i]) & 0xFF for i in range(len(line)))

        def cost(data):
            return sum(v if v < 128 else 256 - v for v in data)

        kind, data = min(((0, line), (1, sub), (2, up)), key=lambda k: cost(k[1]))
        raw.append(kind)
        raw += data
        previous = line

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def icon_file(paint, sizes=SIZES):
    """The whole .ico: `paint` (see render) drawn at each size."""
    images = []
    for size in sizes:
        rows = render(paint, size, samples=3 if size >= PNG_FROM else 4)
        images.append((size, _png(rows) if size >= PNG_FROM else _bitmap(rows)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in images:
        # 256 is written as 0 in the directory's one-byte fields.
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, data in images)
