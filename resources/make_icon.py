#!/usr/bin/env python3
"""Draws the plug-in's icon (resources/stats.ico): a light-yellow card with a
small bar chart, at 16 and 32 pixels, 32-bit colour with alpha."""
import struct
import sys

CARD = (255, 250, 198)
EDGE = (40, 52, 96)
BARS = [(200, 40, 40), (40, 120, 200), (40, 150, 70), (230, 140, 20)]


def pixels(size):
    img = [[(0, 0, 0, 0)] * size for _ in range(size)]
    m = max(1, size // 16)
    for y in range(m, size - m):
        for x in range(m, size - m):
            edge = x in (m, size - m - 1) or y in (m, size - m - 1)
            img[y][x] = (*(EDGE if edge else CARD), 255)
    heights = [0.45, 0.75, 0.6, 0.9]
    inner = size - 4 * m
    width = max(1, inner // 6)
    for i, (h, colour) in enumerate(zip(heights, BARS)):
        x0 = 2 * m + width // 2 + i * (width + max(1, width // 2))
        top = size - 2 * m - int(h * (inner - 2 * m))
        for y in range(top, size - 2 * m):
            for x in range(x0, min(x0 + width, size - 2 * m)):
                img[y][x] = (*colour, 255)
    return img


def bitmap(size):
    img = pixels(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(v for (r, g, b, a) in img[y] for v in (b, g, r, a)) for y in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    return header + rows + b'\0' * mask_row * size


def main(path):
    images = [(s, bitmap(s)) for s in (16, 32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/stats.ico')
