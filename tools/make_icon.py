"""Draws the kit's icon: a gold rounded square on the window's olive colour
with a dark upward arrow (an upgrade), at 16, 32 and 48 pixels, 8-bit
paletted with a transparency mask.

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
    """One 8-bit paletted image with its transparency mask. Every pixel is
    either opaque or see-through, so a palette and the mask show exactly
    what 32-bit colour would, in a third of the bytes."""
    pixels = [[pixel(x, y, n) for x in range(n)] for y in range(n)]
    palette = sorted({p[:3] for row in pixels for p in row if p[3]})
    assert len(palette) < 256
    palette = [(0, 0, 0)] + palette  # index 0: the see-through corners
    index = {colour: i for i, colour in enumerate(palette)}
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 8, 0, 0, 0, 0, 256, 0)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette).ljust(256 * 4, b'\0')
    stride = (n + 3) // 4 * 4
    mask_stride = (n + 31) // 32 * 4
    rows, masks = [], []
    for y in reversed(range(n)):  # bottom-up
        row = bytes(index[p[:3]] if p[3] else 0 for p in pixels[y])
        rows.append(row.ljust(stride, b'\0'))
        bits = 0
        for x, p in enumerate(pixels[y]):
            if not p[3]:
                bits |= 0x80 >> (x % 8) << (8 * (x // 8))
        masks.append(bits.to_bytes(mask_stride, 'little'))
    return header + table + b''.join(rows) + b''.join(masks)


def main(path):
    sizes = (16, 32, 48)
    images = [image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])
