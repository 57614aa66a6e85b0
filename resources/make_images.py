#!/usr/bin/env python3
"""Draws the launcher icon and the About artwork as 128x128 24-bit PNG files, and the icon
once more as windows/kelvor-launcher.ico, at the sizes Windows shows (16 to 256 pixels).

Run it from anywhere; it writes the images beside itself, or into the folder it is given (as
the test images does, to compare them with the committed ones). Only the standard library is
needed, so the images can be redrawn on any machine.
"""
import math
import os
import struct
import sys
import zlib

SIZE = 128


def png(pixel, size=SIZE):
    """The PNG bytes of `pixel`, drawn on a SIZE grid, at `size` pixels: each pixel is the
    mean of a few samples, so that small sizes stay smooth."""
    step = SIZE / size
    samples = [(i + 0.5) / 3 for i in range(3)] if size < SIZE else [0.0]
    rows = bytearray()
    for y in range(size):
        rows.append(0)  # no filter
        for x in range(size):
            picks = [pixel(int((x + sx) * step), int((y + sy) * step)) for sx in samples for sy in samples]
            rows.extend(bytes(max(0, min(255, int(sum(p[i] for p in picks) / len(picks)))) for i in range(3)))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def write_png(path, pixel):
    with open(path, "wb") as out:
        out.write(png(pixel))


def write_ico(path, pixel, sizes=(16, 24, 32, 48, 64, 128, 256)):
    """An icon file whose images are PNG, as Windows Vista and later read them."""
    images = [png(pixel, size) for size in sizes]
    offset = 6 + 16 * len(sizes)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, len(sizes)) + entries + b"".join(images))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def icon(x, y):
    """A shield in deep blue with a bright 'K' made of three strokes."""
    cx, cy = x + 0.5, y + 0.5
    background = mix((18, 24, 38), (30, 44, 70), cy / SIZE)
    inside = abs(cx - 64) < 52 - max(0.0, cy - 70) * 0.75 and 10 < cy < 122
    if not inside:
        return background
    shield = mix((40, 96, 170), (16, 48, 110), cy / SIZE)
    strokes = [(40, 26, 40, 102), (44, 66, 88, 26), (52, 58, 90, 102)]
    d = min(distance_to_segment(cx, cy, *s) for s in strokes)
    if d < 7:
        return mix((255, 214, 102), (250, 170, 40), cy / SIZE)
    if d < 9:
        return mix(shield, (255, 214, 102), (9 - d) / 2)
    return shield


def artwork(x, y):
    """Mountains under an evening sky with a low sun."""
    cx, cy = x + 0.5, y + 0.5
    colour = mix((250, 196, 120), (70, 60, 130), max(0.0, 1 - cy / 80))
    sun = math.hypot(cx - 88, cy - 62)
    if sun < 14:
        colour = (255, 236, 170)
    elif sun < 22:
        colour = mix((255, 236, 170), colour, (sun - 14) / 8)
    far = 70 + 14 * math.sin(cx / 11.0) + 6 * math.sin(cx / 4.3)
    near = 92 + 10 * math.sin(cx / 17.0 + 1.3) + 4 * math.sin(cx / 6.1)
    if cy > far:
        colour = mix((96, 80, 140), (60, 52, 100), (cy - far) / 40)
    if cy > near:
        colour = mix((40, 44, 70), (20, 22, 36), (cy - near) / 40)
    return colour


if __name__ == "__main__":
    here = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write_png(os.path.join(here, "launcher-icon.png"), icon)
    write_png(os.path.join(here, "about-artwork.png"), artwork)
    os.makedirs(os.path.join(here, "windows"), exist_ok=True)
    write_ico(os.path.join(here, "windows", "kelvor-launcher.ico"), icon)
