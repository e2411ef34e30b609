#!/usr/bin/env python3
"""Draws the updater's own icons (32x32 and 16x16, 32-bit) into .ico files.

usage: make_icons.py OUTDIR
Writes qxupdate.ico (a blue disc with a white down arrow), quf.ico (a page
with a green arrow), and the icons of the engine's test resource library.
"""
import os
import struct
import sys


def ico(images):
    """images: list of (size, pixel function (x, y) -> (r, g, b, a))."""
    head = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for size, pix in images:
        rows = []
        for y in range(size - 1, -1, -1):  # bottom-up
            rows.append(b"".join(struct.pack("BBBB", b, g, r, a) for r, g, b, a in (pix(x, y, size) for x in range(size))))
        mask_row = b"\0" * (((size + 31) // 32) * 4)
        bmp = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        bmp += b"".join(rows) + mask_row * size
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(bmp), offset)
        blobs += bmp
        offset += len(bmp)
    return head + entries + blobs


def disc(color, arrow):
    def pix(x, y, s):
        c = (s - 1) / 2.0
        if (x - c) ** 2 + (y - c) ** 2 > (s / 2.0) ** 2:
            return (0, 0, 0, 0)
        u, v = x / s, y / s
        in_arrow = (0.4 <= u <= 0.6 and 0.2 <= v <= 0.55) or (v >= 0.55 and v <= 0.8 and abs(u - 0.5) <= (0.8 - v))
        return arrow + (255,) if in_arrow else color + (255,)
    return pix


def page(arrow):
    def pix(x, y, s):
        u, v = x / s, y / s
        if not (0.15 <= u <= 0.85 and 0.05 <= v <= 0.95):
            return (0, 0, 0, 0)
        if u < 0.2 or u > 0.8 or v < 0.1 or v > 0.9:
            return (80, 80, 80, 255)
        if (0.45 <= u <= 0.55 and 0.3 <= v <= 0.6) or (0.6 <= v <= 0.8 and abs(u - 0.5) <= (0.8 - v)):
            return arrow + (255,)
        return (255, 255, 255, 255)
    return pix


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        "qxupdate.ico": disc((30, 90, 200), (255, 255, 255)),
        "quf.ico": page((20, 160, 60)),
    }
    # Test resource library: program icon, four frames, two check marks.
    for n, col in ((10, (30, 90, 200)), (12, (200, 40, 40)), (13, (200, 160, 40)), (14, (40, 160, 40)),
                   (15, (40, 160, 200)), (20, (230, 230, 230)), (21, (40, 120, 40))):
        files["test%d.ico" % n] = disc(col, (255, 255, 255))
    for name, pix in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(ico([(32, pix), (16, pix)]))


if __name__ == "__main__":
    main()
