#!/usr/bin/env python3
"""Draws Parcelor.ico: 32x32 and 16x16 images in 16 colours, four squares around a diamond on light grey."""
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [(0,0,0),(128,0,0),(0,128,0),(128,128,0),(0,0,128),(128,0,128),(0,128,128),(192,192,192),
           (128,128,128),(255,0,0),(0,255,0),(255,255,0),(0,0,255),(255,0,255),(0,255,255),(255,255,255)]
MAROON, GREEN, OLIVE, NAVY, PURPLE, LIGHT_GREY = 1, 2, 3, 4, 5, 7

def pixel(x, y, n):
    h = n // 2
    if abs(x - h + 0.5) + abs(y - h + 0.5) <= n * 0.28:
        return OLIVE
    m = n // 8
    s = n * 3 // 8
    inside = lambda a: m <= a < m + s
    right = lambda a: n - m - s <= a < n - m
    if inside(x) and inside(y): return PURPLE
    if right(x) and inside(y): return NAVY
    if inside(x) and right(y): return GREEN
    if right(x) and right(y): return MAROON
    return LIGHT_GREY

def image(n):
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    rows = b''
    for y in range(n - 1, -1, -1):  # bottom-up
        row = bytes((pixel(x, y, n) << 4) | pixel(x + 1, y, n) for x in range(0, n, 2))
        rows += row + b'\0' * ((4 - len(row) % 4) % 4)
    mask_row = (n // 8 + 3) // 4 * 4
    mask = b'\0' * mask_row * n
    return header + palette + rows + mask

def main():
    images = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open('Parcelor.ico', 'wb') as f:
        f.write(out + b''.join(images))

main()
