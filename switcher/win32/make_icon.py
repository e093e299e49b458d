#!/usr/bin/env python3
"""Draws Vantrel's icon, a white V over two dots (the two builds) on a blue
rounded square, at every size the icon holds, and writes it as vantrel.ico.
Run it again after changing the drawing; the .ico is kept in the repository
so the build needs no Python."""

import math
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
from icon_file import icon_file, segment_distance  # noqa: E402

WHITE = (255, 255, 255)
GOLD = (240, 190, 40)
SILVER = (200, 205, 215)
RIM = (18, 40, 90)


def rounded_square_distance(x, y, low, high, radius):
    """How far (x, y) lies inside the rounded square (negative: outside)."""
    cx = min(max(x, low + radius), high - radius)
    cy = min(max(y, low + radius), high - radius)
    if cx == x or cy == y:
        return min(x - low, high - x, y - low, high - y)
    return radius - math.hypot(x - cx, y - cy)


def paint(x, y, pixel):
    """(r, g, b, a) at (x, y) of the 32-unit square; `pixel` is one pixel's
    width in those units. Strokes and the rim are kept at least about a
    pixel wide so the small sizes stay legible."""
    inside = rounded_square_distance(x, y, 1, 31, 6)
    if inside < 0:
        return (0, 0, 0, 0)
    # The V and the dots grow a little at the smallest sizes.
    bold = max(0.0, (pixel - 1) * 0.8)
    v = min(segment_distance(x, y, 8.5, 6.5, 16, 22), segment_distance(x, y, 23.5, 6.5, 16, 22))
    if v <= 2.3 + bold:
        return WHITE + (255,)
    if math.hypot(x - 11, y - 26) <= 2.4 + bold / 2:
        return GOLD + (255,)
    if math.hypot(x - 21, y - 26) <= 2.4 + bold / 2:
        return SILVER + (255,)
    if inside <= max(1.0, pixel):
        return RIM + (255,)
    # Blue body, lighter at the top.
    shade = (y - 1) / 30
    return (round(60 - 30 * shade), round(122 - 62 * shade), round(214 - 94 * shade), 255)


if __name__ == "__main__":
    out = Path(__file__).with_name("vantrel.ico")
    out.write_bytes(icon_file(paint))
    print(f"wrote {out} ({out.stat().st_size} bytes)")
