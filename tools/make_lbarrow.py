#!/usr/bin/env python3
"""Writes controls/LbArrow.bmp: the 5 x 3, 16-colour drop-down arrow of the
speed buttons. Black pixels form a triangle pointing down; white is the
transparent colour (taken from the bottom-left pixel when drawn)."""
import struct
import sys
from pathlib import Path

ROWS = [  # top to bottom; 0 = black, 15 = white
    [0, 0, 0, 0, 0],
    [15, 0, 0, 0, 15],
    [15, 15, 0, 15, 15],
]
# The standard 16-colour palette of Windows, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def bitmap_bytes() -> bytes:
    width, height = len(ROWS[0]), len(ROWS)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b""
    for row in reversed(ROWS):  # BMP rows are bottom-up
        nibbles = row + [0] * (stride * 2 - width)
        pixels += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)  # RGBQUAD order
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


if __name__ == "__main__":
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "controls" / "LbArrow.bmp"
    target.write_bytes(bitmap_bytes())
