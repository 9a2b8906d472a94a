"""Draws the kit's icon: a gold rounded square on the window's olive colour
with a dark upward arrow (an upgrade), at 16, 32 and 48 pixels, 32-bit BGRA.

    python3 tools/make_icon.py kit/MainIcon.ico
"""
import struct
import sys


def pixel(x, y, n):
    """Red, green, blue, alpha of one pixel of an n-pixel icon."""
    # Coordinates scaled to a 0..1 square, centre of the pixel.
    u, v = (x + 0.5) / n, (y + 0.5) / n
    inset, radius = 0.06, 0.18
    dx = max(inset + radius - u, 0, u - (1 - inset - radius))
    dy = max(inset + radius - v, 0, v - (1 - inset - radius))
    if dx * dx + dy * dy > radius * radius:
        return (0, 0, 0, 0)  # transparent corner
    border = u < inset + 0.05 or u > 1 - inset - 0.05 or v < inset + 0.05 or v > 1 - inset - 0.05
    head = v >= 0.2 and v <= 0.5 and abs(u - 0.5) <= (v - 0.2) * 0.9
    shaft = v > 0.5 and v <= 0.82 and abs(u - 0.5) <= 0.11
    if head or shaft:
        return (0x55, 0x56, 0x1B, 255)  # arrow in the window's dark olive
    if border:
        return (0x80, 0x80, 0x00, 255)
    # Vertical gold gradient, light at the top.
    g = int(0xFF - (0xFF - 0xC0) * v)
    return (g, g, 0x00, 255)


def image(n):
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(n)):  # bottom-up
        row = b''
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            row += bytes((b, g, r, a))
        rows.append(row)
    mask_row = b'\0' * (((n + 31) // 32) * 4)
    return header + b''.join(rows) + mask_row * n


def main(path):
    sizes = (16, 32, 48)
    images = [image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])
