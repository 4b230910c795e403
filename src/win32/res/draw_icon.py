#!/usr/bin/env python3
"""Draws the application icon: a blue globe with a white arrow pointing into it, in the
16-colour palette, as a 32 x 32 and a 16 x 16 image. Writes ketrin_client.ico and a PNG of each
image size (for the Linux desktop), next to this script."""
import math
import struct
import zlib
from pathlib import Path

# The standard 16-colour palette (RGB).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, GREY, BLUE, CYAN, WHITE, YELLOW = 0, 4, 8, 12, 14, 15, 11


def draw(size):
    """Returns rows of (colour index or None for transparent), top row first."""
    pixels = [[None] * size for _ in range(size)]
    centre = (size - 1) / 2
    radius = size / 2 - 0.5
    line = 0.8 * size / 32 + 0.25
    for y in range(size):
        for x in range(size):
            dx, dy = x - centre, y - centre
            d = math.hypot(dx, dy)
            if d > radius + 0.3:
                continue
            if d > radius - 1:
                pixels[y][x] = NAVY
                continue
            half_width = math.sqrt(max(radius * radius - dy * dy, 0.0))
            # Two meridians drawn as ellipses, the central one, the equator and two parallels.
            meridian = min(abs(abs(dx) - k * half_width) for k in (0.0, 0.6))
            parallel = min(abs(abs(dy) - k * radius) for k in (0.0, 0.55))
            pixels[y][x] = CYAN if meridian < line or parallel < line else BLUE
    # A yellow arrow from the upper left corner to the globe's centre.
    tip = round(centre)
    shaft = max(1, round(size / 16))
    for i in range(tip - 2 * shaft):
        for w in range(-shaft + 1, shaft):
            x, y = i + w, i
            if 0 <= x < size:
                pixels[y][x] = YELLOW
    head = max(3, round(size * 7 / 32))
    for i in range(head + 1):
        for j in range(head + 1 - i):
            x, y = tip - i, tip - j
            pixels[y][x] = BLACK if i + j == head else YELLOW
    return pixels


def bmp_image(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_row = (size // 2 + 3) // 4 * 4
    and_row = ((size + 31) // 32) * 4
    xor, mask = b"", b""
    for row in reversed(pixels):
        packed = bytearray(xor_row)
        bits = bytearray(and_row)
        for x, colour in enumerate(row):
            index = 0 if colour is None else colour
            packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if colour is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += bytes(packed)
        mask += bytes(bits)
    return header + palette + xor + mask


def png_image(pixels):
    size = len(pixels)
    raw = b""
    for row in pixels:
        raw += b"\0" + b"".join(
            bytes((0, 0, 0, 0)) if c is None else bytes(PALETTE[c] + (255,)) for c in row)
    chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    here = Path(__file__).resolve().parent
    images = [bmp_image(draw(size)) for size in (32, 16)]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip((32, 16), images):
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    (here / "ketrin_client.ico").write_bytes(directory + b"".join(images))
    for size in (32, 16):
        (here / f"ketrin_client_{size}.png").write_bytes(png_image(draw(size)))


if __name__ == "__main__":
    main()
