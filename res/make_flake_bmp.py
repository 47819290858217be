#!/usr/bin/env python3
"""Draws the flake texture: a soft, bright six-armed snow crystal on black,
64 x 64 pixels, 24 bits per pixel, written as a bottom-up Windows bitmap.

    python3 res/make_flake_bmp.py [output]      (default: res/Vorl.bmp)
"""
import math
import os
import struct
import sys

SIZE = 64


def intensity(x, y):
    """Brightness 0..1 of the pixel centre (x, y), y counted from the top."""
    cx = cy = (SIZE - 1) / 2.0
    dx, dy = (x - cx) / cx, (y - cy) / cy
    r = math.hypot(dx, dy)
    if r >= 1.0:
        return 0.0
    # A soft round glow that fades to black at the edge.
    glow = (1.0 - r) ** 1.3
    # Six arms: distance to the nearest arm axis, arms fading outwards.
    angle = math.atan2(dy, dx)
    sector = math.pi / 3.0
    off = (angle + sector / 2.0) % sector - sector / 2.0
    across = abs(math.sin(off)) * r
    arm = max(0.0, 1.0 - across / 0.06) * max(0.0, 1.0 - r / 0.92)
    # Side branches halfway out on each arm.
    along = math.cos(off) * r
    branch = 0.0
    for at in (0.45, 0.65):
        d = abs(along - at - across * 0.8)
        if across < 0.22 * (1.0 - at):
            branch = max(branch, max(0.0, 1.0 - d / 0.05) * 0.8)
    core = max(0.0, 1.0 - r / 0.3) * 1.5
    return min(1.0, glow + arm + branch * (1.0 - r) + core)


def make(path):
    row_bytes = SIZE * 3  # already a multiple of 4
    pixels = bytearray()
    for row in range(SIZE - 1, -1, -1):  # bottom-up
        for x in range(SIZE):
            v = intensity(x, row)
            white = int(round(255 * v))
            blue = int(round(255 * min(1.0, v * 1.05 + 0.02 * (v > 0))))
            pixels += bytes((blue, white, white))  # B, G, R
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, row_bytes * SIZE, 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(file_header + info_header + pixels)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "Vorl.bmp")
    make(out)
