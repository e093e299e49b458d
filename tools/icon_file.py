"""The .ico file format for the programs' icons, shared by the scripts that
draw them (switcher/win32/make_icon.py, stub/win32/make_icon.py)."""

import struct


def icon_file(rows, palette):
    """One 32 x 32 image with a 256-colour palette and a transparency mask.
    `rows` runs top row first; each pixel is a palette index, or None for
    transparent (index 0 stands under it). `palette` holds up to 256
    (r, g, b); the rest are black."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    padded = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in padded)
    xor = b""
    mask = b""
    for row in reversed(rows):  # bitmaps are stored bottom row first
        xor += bytes(0 if i is None else i for i in row)
        bits = 0
        for x, i in enumerate(row):
            if i is None:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)  # 32 pixels: exactly one 4-byte row
    image = header + colours + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image
