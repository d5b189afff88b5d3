#!/usr/bin/env python3
"""Draws Parcelor.ico from one drawing: four squares (purple, navy, green,
maroon) around an olive diamond on a light grey tile with rounded corners.

Images, in this order: 16, 20, 24, 32, 40, 48, 64 and 256 pixels in 32-bit
colour with alpha, whose edges are smoothed by sampling each pixel many times;
then 16 and 32 pixels in the 16 standard colours, sampled once at each pixel's
centre, for displays of 16 or 256 colours. All are uncompressed bitmaps, the
256-pixel one too: Windows XP reads no PNG-compressed image, and the download
is zipped anyway. Plain Python 3, nothing to install; it writes Parcelor.ico
beside itself:

    python3 res/make-icon.py
"""
import math
import os
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
MAROON, GREEN, OLIVE, NAVY, PURPLE = PALETTE[1], PALETTE[2], PALETTE[3], PALETTE[4], PALETTE[5]
LIGHT_GREY, GREY = PALETTE[7], PALETTE[8]

TRUE_COLOUR_SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
SIXTEEN_COLOUR_SIZES = [16, 32]


def snap(v):
    """A length in pixels rounded half up, so that edges fall between pixels and stay sharp."""
    return math.floor(v + 0.5)


class Drawing:
    """The drawing at n pixels: every shape's edges in pixel units."""

    def __init__(self, n):
        self.n = n
        self.radius = n / 8                       # of the tile's corners
        self.border = max(1, snap(n / 40))        # the tile's darker rim
        margin = snap(n / 8)
        middle = n // 2
        # Each square's span on one axis: near the start and near the end, mirrored.
        self.spans = [(margin, middle), (n - middle, n - margin)]
        self.centre = n / 2
        self.diamond = 0.28 * n                   # from the centre to each point
        self.halo = max(0.5, n / 48)              # light grey round the diamond

    def inside_tile(self, x, y, inset=0.0):
        """Whether (x, y) lies on the tile shrunk by inset on every side, its corners rounded."""
        low, high = inset, self.n - inset
        r = max(self.radius - inset, 0.0)
        if not (low <= x <= high and low <= y <= high):
            return False
        dx = max(low + r - x, 0.0, x - (high - r))
        dy = max(low + r - y, 0.0, y - (high - r))
        return dx * dx + dy * dy <= r * r

    def colour(self, x, y):
        """The colour at the point (x, y), or None outside the tile."""
        if not self.inside_tile(x, y):
            return None
        distance = abs(x - self.centre) + abs(y - self.centre)
        if distance <= self.diamond:
            return OLIVE
        if distance <= self.diamond + self.halo:
            return LIGHT_GREY
        (a0, a1), (b0, b1) = self.spans
        left, right = a0 <= x < a1, b0 <= x < b1
        top, bottom = a0 <= y < a1, b0 <= y < b1
        if top and left: return PURPLE
        if top and right: return NAVY
        if bottom and left: return GREEN
        if bottom and right: return MAROON
        return LIGHT_GREY if self.inside_tile(x, y, self.border) else GREY


def true_colour_pixels(n):
    """Rows from the top, of (blue, green, red, alpha), each pixel the mean of a grid of samples."""
    drawing = Drawing(n)
    k = 4 if n > 64 else 8
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            r = g = b = opaque = 0
            for sy in range(k):
                for sx in range(k):
                    c = drawing.colour(x + (sx + 0.5) / k, y + (sy + 0.5) / k)
                    if c:
                        r, g, b, opaque = r + c[0], g + c[1], b + c[2], opaque + 1
            if opaque:
                row.append((snap(b / opaque), snap(g / opaque), snap(r / opaque), snap(255 * opaque / (k * k))))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def mask_rows(transparent_rows):
    """The AND mask, bottom-up: a set bit where the pixel is transparent; rows padded to 4 bytes."""
    out = b''
    for row in reversed(transparent_rows):
        bits = bytearray((len(row) + 31) // 32 * 4)
        for x, clear in enumerate(row):
            if clear:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bytes(bits)
    return out


def true_colour_image(n):
    rows = true_colour_pixels(n)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes(channel for pixel in row for channel in pixel) for row in reversed(rows))
    # Drawn where no alpha is honoured: transparent only where the pixel is mostly clear.
    return header + pixels + mask_rows([[pixel[3] < 128 for pixel in row] for row in rows])


def sixteen_colour_image(n):
    drawing = Drawing(n)
    colours = [[drawing.colour(x + 0.5, y + 0.5) for x in range(n)] for y in range(n)]
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    pixels = b''
    for row in reversed(colours):
        indices = [PALETTE.index(c) if c else 0 for c in row]
        packed = bytes(indices[x] << 4 | indices[x + 1] for x in range(0, n, 2))
        pixels += packed + b'\0' * (-len(packed) % 4)
    return header + palette + pixels + mask_rows([[c is None for c in row] for row in colours])


def main():
    images = [(n, 32, true_colour_image(n)) for n in TRUE_COLOUR_SIZES]
    images += [(n, 4, sixteen_colour_image(n)) for n in SIXTEEN_COLOUR_SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, bits, data in images:
        # A width or height of 256 is written as 0; the colour count only for palettes.
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 16 if bits == 4 else 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'Parcelor.ico'), 'wb') as f:
        f.write(out + b''.join(data for _, _, data in images))


main()
