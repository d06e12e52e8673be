#!/usr/bin/env python3
"""Reduces an RGBA PNG (as rsvg-convert writes it) to a 16-colour picture.

    palette16.py in.png out.png

Every pixel that is more than half covered takes the nearest of the 16
standard colours; the rest of the picture takes the ground colour, olive, which
is then also the colour of the bottom-left pixel. The result is a 4-bit
indexed PNG without any transparency of its own: the program makes the
bottom-left pixel's colour transparent when it shows the picture.
"""
import struct
import sys
import zlib

from flatten import read_rgba

# The 16 colours of the standard palette, in their usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
GROUND = 3  # olive


def nearest(r, g, b):
    return min(range(len(PALETTE)),
               key=lambda i: sum((p - q) ** 2 for p, q in zip(PALETTE[i], (r, g, b))))


def reduce(width, rows):
    out = []
    for line in rows:
        indices = []
        for x in range(width):
            r, g, b, a = line[4 * x:4 * x + 4]
            indices.append(nearest(r, g, b) if a >= 128 else GROUND)
        out.append(indices)
    return out


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b""
    for indices in rows:
        padded = indices + [0] * (len(indices) % 2)
        raw += b"\x00" + bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 4, 3, 0, 0, 0)))
        f.write(chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source, target = sys.argv[1:]
    width, height, rows = read_rgba(source)
    rows = reduce(width, rows)
    if rows[-1][0] != GROUND:
        sys.exit(f"{source}: the bottom-left pixel must stay free for the ground colour")
    write_png(target, width, height, rows)


if __name__ == "__main__":
    main()
