#!/usr/bin/env python3
"""Draws the program icon, a six-armed snow crystal, as a 16-colour icon with
a 32x32 and a 16x16 image: python3 make_icon.py vorl.ico"""
import math
import struct
import sys

# The standard 16-colour palette (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
NAVY, CYAN, WHITE = 4, 14, 15


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def crystal_segments(size):
    c = (size - 1) / 2.0
    arm = size * 0.46
    segments = []
    for k in range(6):
        a = math.pi / 2 + k * math.pi / 3
        ux, uy = math.cos(a), -math.sin(a)
        segments.append((c, c, c + ux * arm, c + uy * arm))
        # two pairs of side branches on each arm
        for along, length in ((0.45, 0.30), (0.75, 0.20)):
            bx, by = c + ux * arm * along, c + uy * arm * along
            for side in (-1, 1):
                b = a + side * math.pi / 3
                segments.append((bx, by, bx + math.cos(b) * arm * length,
                                 by - math.sin(b) * arm * length))
    return c, segments


def draw(size):
    c, segments = crystal_segments(size)
    core = 0.55 if size >= 32 else 0.45
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            d = min(segment_distance(x, y, *s) for s in segments)
            centre = math.hypot(x - c, y - c)
            if centre <= size * 0.08:
                row.append(CYAN)
            elif d <= core:
                row.append(WHITE)
            elif d <= core + 1.0:
                row.append(NAVY)
            else:
                row.append(None)  # transparent
        pixels.append(row)
    return pixels


def icon_image(size):
    pixels = draw(size)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, p in enumerate(row):
            index = 0 if p is None else p
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def main():
    images = [(32, icon_image(32)), (16, icon_image(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
