#!/usr/bin/env python3
"""Draws Brennic's icon, a road that forks into two arrows (the two builds of
the game), at every size the icon holds, and writes it as brennic.ico.

Run it from anywhere; it writes brennic.ico beside itself. The .ico is kept
in the repository so that a build needs no Python.
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from icon_file import icon_file, segment_distance  # noqa: E402

FRAME = (18, 34, 66)
FIELD = (40, 78, 140)
FIELD_LIGHT = (62, 104, 170)
ROAD = (236, 226, 200)
LEFT, LEFT_DARK = (240, 176, 48), (176, 118, 20)
RIGHT, RIGHT_DARK = (120, 206, 96), (60, 140, 52)


def in_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    d1, d2, d3 = side((px, py), a, b), side((px, py), b, c), side((px, py), c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def in_rounded_square(px, py, low, high, radius):
    cx = min(max(px, low + radius), high - radius)
    cy = min(max(py, low + radius), high - radius)
    return math.hypot(px - cx, py - cy) <= radius


def paint(px, py, pixel):
    """(r, g, b, a) at (px, py) of the 32-unit square; `pixel` is one
    pixel's width in those units, which keeps the frame and the arrows'
    shafts at least about a pixel wide at the small sizes."""
    if not in_rounded_square(px, py, 0.5, 31.5, 6):
        return (0, 0, 0, 0)
    frame = max(1.2, pixel)
    if not in_rounded_square(px, py, 0.5 + frame, 31.5 - frame, 6 - frame):
        return FRAME + (255,)
    bold = max(0.0, (pixel - 1) * 0.6)
    fork = (16, 17)
    # The two arrows: the left one for 1.0c, the right one for 1.0e.
    for tip, base_left, base_right, colour, dark in (
        ((6.5, 5.5), (4.0, 12.5), (12.5, 5.0), LEFT, LEFT_DARK),
        ((25.5, 5.5), (19.5, 5.0), (28.0, 12.5), RIGHT, RIGHT_DARK),
    ):
        if in_triangle(px, py, tip, base_left, base_right):
            return colour + (255,)
        mid = ((base_left[0] + base_right[0]) / 2, (base_left[1] + base_right[1]) / 2)
        d = segment_distance(px, py, fork[0], fork[1], mid[0], mid[1])
        if d <= 1.7 + bold and py >= mid[1] - 0.5:
            return (colour if d <= 1.0 + bold else dark) + (255,)
    if segment_distance(px, py, 16, 28.5, fork[0], fork[1]) <= 2.2 + bold:
        return ROAD + (255,)
    return (FIELD_LIGHT if py < 16 else FIELD) + (255,)


if __name__ == "__main__":
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "brennic.ico")
    with open(target, "wb") as f:
        f.write(icon_file(paint))
    print("wrote", target, os.path.getsize(target), "bytes")
