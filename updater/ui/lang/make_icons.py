#!/usr/bin/env python3
"""Draws the icons of the language resource library as .ico files.

Usage: make_icons.py OUTPUT_DIR
Writes icon10.ico (32x32 and 16x16), icon12..icon15.ico (tray animation
frames), icon20.ico and icon21.ico (empty and ticked check mark), all 16x16
except the large program icon, 32-bit with an alpha channel and AND mask.
"""
import math
import os
import struct
import sys


def blank(size):
    return [[(0, 0, 0, 0)] * size for _ in range(size)]


def disc(px, size, cx, cy, r, colour):
    for y in range(size):
        for x in range(size):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= r - 0.5:
                px[y][x] = colour
            elif d <= r + 0.5 and px[y][x][3] == 0:
                a = int(255 * (r + 0.5 - d))
                px[y][x] = colour[:3] + (a,)


def rect(px, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(px), y1)):
        for x in range(max(0, x0), min(len(px), x1)):
            px[y][x] = colour


def arrow(px, size, top, colour):
    """A downward arrow: shaft then head, scaled to the icon."""
    s = size / 16.0
    shaft_w = max(2, int(round(2 * s)))
    cx = size // 2
    rect(px, cx - shaft_w // 2 - (shaft_w % 2), int(top), cx + shaft_w // 2, int(top + 6 * s), colour)
    head_top = int(top + 6 * s)
    half = int(round(4 * s))
    for i in range(half + 1):
        rect(px, cx - half + i, head_top + i, cx + half - i, head_top + i + 1, colour)


BLUE = (40, 100, 200, 255)
WHITE = (255, 255, 255, 255)
GREY = (110, 110, 110, 255)
GREEN = (20, 150, 40, 255)


def program_icon(size):
    px = blank(size)
    disc(px, size, size / 2, size / 2, size / 2 - 0.5, BLUE)
    arrow(px, size, size * 3 / 16, WHITE)
    s = size / 16.0
    rect(px, int(4 * s), int(12.5 * s), int(12 * s), int(13.5 * s) + 1, WHITE)
    return px


def tray_frame(index):
    """Four frames: the arrow sinks step by step into the tray line."""
    size = 16
    px = blank(size)
    disc(px, size, 8, 8, 7.5, BLUE)
    arrow(px, size, 1 + 2 * index, WHITE)
    rect(px, 4, 13, 12, 14, WHITE)
    return px


def check_box(ticked):
    size = 16
    px = blank(size)
    rect(px, 2, 2, 14, 14, GREY)
    rect(px, 3, 3, 13, 13, WHITE)
    if ticked:
        for x, y in [(4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5)]:
            rect(px, x, y - 1, x + 1, y + 1, GREEN)
    return px


def dib(px):
    size = len(px)
    rows = []
    for y in reversed(range(size)):  # bottom-up
        rows.append(b"".join(struct.pack("BBBB", b, g, r, a) for (r, g, b, a) in px[y]))
    mask_stride = ((size + 31) // 32) * 4
    mask = []
    for y in reversed(range(size)):
        row = bytearray(mask_stride)
        for x in range(size):
            if px[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask.append(bytes(row))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         size * size * 4 + mask_stride * size, 0, 0, 0, 0)
    return header + b"".join(rows) + b"".join(mask)


def write_ico(path, images):
    blobs = [dib(px) for px in images]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for px, blob in zip(images, blobs):
        size = len(px)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, "icon10.ico"), [program_icon(32), program_icon(16)])
    for i in range(4):
        write_ico(os.path.join(out, "icon%d.ico" % (12 + i)), [tray_frame(i)])
    write_ico(os.path.join(out, "icon20.ico"), [check_box(False)])
    write_ico(os.path.join(out, "icon21.ico"), [check_box(True)])


if __name__ == "__main__":
    main()
