#!/usr/bin/env python3
"""Draws Vantrel's icon and writes it as vantrel.ico: one 32 x 32 image with
a 256-colour palette and a transparency mask. Run it again after changing the
drawing; the .ico is kept in the repository so the build needs no Python."""

import math
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
from icon_file import icon_file  # noqa: E402

SIZE = 32


def inside_rounded_square(x, y, margin=1, radius=6):
    lo, hi = margin, SIZE - 1 - margin
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 + 0.5


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def pixel(x, y):
    """The colour at (x, y) from the top left, or None for transparent."""
    if not inside_rounded_square(x, y):
        return None
    # Blue body, lighter at the top.
    shade = y / (SIZE - 1)
    body = (int(52 - 22 * shade), int(110 - 50 * shade), int(200 - 80 * shade))
    # A white "V" for Vantrel.
    v = min(distance_to_segment(x, y, 8, 6, 16, 22), distance_to_segment(x, y, 24, 6, 16, 22))
    if v <= 2.0:
        return (255, 255, 255)
    if v <= 2.8:
        return tuple((a + 255) // 2 for a in body)
    # Two builds: a gold and a silver dot under the V.
    if math.hypot(x - 11, y - 26) <= 2.2:
        return (240, 190, 40)
    if math.hypot(x - 21, y - 26) <= 2.2:
        return (200, 205, 215)
    # A darker rim.
    if not inside_rounded_square(x, y, margin=2, radius=5):
        return (18, 40, 90)
    return body


def build():
    pixels = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    palette = sorted({c for row in pixels for c in row if c is not None})
    palette.insert(0, (0, 0, 0))  # index 0 stands under the transparent pixels
    if len(palette) > 256:
        sys.exit("too many colours for a 256-colour icon")
    index = {c: i for i, c in enumerate(palette)}
    return icon_file([[None if c is None else index[c] for c in row] for row in pixels], palette)


if __name__ == "__main__":
    out = Path(__file__).with_name("vantrel.ico")
    out.write_bytes(build())
    print(f"wrote {out} ({out.stat().st_size} bytes)")
