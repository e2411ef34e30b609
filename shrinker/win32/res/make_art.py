#!/usr/bin/env python3
"""Draws Vantilo's own icon and 16-colour background picture.

Run once when the art changes; the outputs are committed beside it."""
import math
import struct
import sys
from pathlib import Path

# The 16 colours of the classic VGA palette, as (r, g, b).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
WHITE, SILVER, GRAY, GREEN, LIME, TEAL, NAVY, YELLOW = 15, 7, 8, 2, 10, 6, 4, 11


def pack4(rows, width):
    """4-bit rows, bottom-up, each padded to 4 bytes."""
    out = bytearray()
    stride = ((width + 7) // 8) * 4
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, width, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < width else 0
            line.append((hi << 4) | lo)
        line.extend(b"\0" * (stride - len(line)))
        out += line
    return bytes(out)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def background(width=480, height=313):
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            c = WHITE
            # Soft waves along the bottom and a dotted band at the top.
            wave = height - 22 - 10 * math.sin(x / 38.0) - 6 * math.sin(x / 13.0 + 1.3)
            if y > wave:
                c = SILVER if (x + y) % 3 else TEAL
            elif y < 6 and (x // 4 + y) % 2 == 0:
                c = SILVER
            elif (x * 7 + y * 3) % 97 == 0 and y < height - 40:
                c = SILVER
            row.append(c)
        rows.append(row)
    bits = pack4(rows, width)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(bits), 2835, 2835, 16, 16)
    offset = 14 + 40 + 64
    return struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset) + header + palette_bytes() + bits


def icon_image(size):
    rows = []
    mask = []
    c = (size - 1) / 2.0
    for y in range(size):
        row, mrow = [], []
        for x in range(size):
            d = math.hypot(x - c, y - c)
            inside = d <= size * 0.47
            colour = 0
            if inside:
                colour = TEAL if d > size * 0.38 else WHITE
                # A small picture frame with a mountain, shrunk in the corner.
                fx, fy = x / size, y / size
                if 0.25 <= fx <= 0.75 and 0.3 <= fy <= 0.7:
                    colour = NAVY if (fx < 0.28 or fx > 0.72 or fy < 0.33 or fy > 0.67) else (
                        GREEN if fy > 0.55 - 0.5 * abs(fx - 0.5) else YELLOW)
            row.append(colour)
            mrow.append(0 if inside else 1)
        rows.append(row)
        mask.append(mrow)
    xor = pack4(rows, size)
    stride = ((size + 31) // 32) * 4
    andmask = bytearray()
    for mrow in reversed(mask):
        line = bytearray(stride)
        for x, m in enumerate(mrow):
            if m:
                line[x // 8] |= 0x80 >> (x % 8)
        andmask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(andmask), 0, 0, 16, 0)
    return header + palette_bytes() + xor + bytes(andmask)


def icon():
    images = [(32, icon_image(32)), (16, icon_image(16))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset + len(body))
        body += data
    return out + body


if __name__ == "__main__":
    here = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    (here / "background.bmp").write_bytes(background())
    (here / "vantilo.ico").write_bytes(icon())
