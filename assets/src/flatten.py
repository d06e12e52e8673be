#!/usr/bin/env python3
"""Flattens an 8-bit RGB or RGBA PNG (as rsvg-convert writes them) onto white.

    flatten.py in.png out.png   writes a true-colour PNG without alpha
    flatten.py in.png out.ppm   writes a binary PPM, the input cjpeg takes

Only the standard library is used, so regenerating the pictures needs no
imaging package besides rsvg-convert and cjpeg.
"""
import struct
import sys
import zlib


def read_rgba(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        sys.exit(f"{path}: expected 8-bit RGB or RGBA without interlace")
    raw = zlib.decompress(idat)
    step = 4 if colour == 6 else 3
    stride = width * step
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - step] if i >= step else 0
            up = previous[i]
            up_left = previous[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else up_left
                line[i] = (line[i] + pred) & 0xFF
        previous = line
        if step == 3:  # opaque: give every pixel the alpha flatten() expects
            line = bytearray(b"".join(bytes(line[i:i + 3]) + b"\xff" for i in range(0, stride, 3)))
        rows.append(line)
    return width, height, rows


def flatten(width, rows):
    # rsvg-convert writes straight (not premultiplied) alpha.
    out = []
    for line in rows:
        rgb = bytearray(width * 3)
        for x in range(width):
            r, g, b, a = line[4 * x:4 * x + 4]
            for c, v in enumerate((r, g, b)):
                rgb[3 * x + c] = (v * a + 255 * (255 - a) + 127) // 255
        out.append(bytes(rgb))
    return out


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\x00" + line for line in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def write_ppm(path, width, height, rows):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        f.writelines(rows)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source, target = sys.argv[1:]
    width, height, rows = read_rgba(source)
    rows = flatten(width, rows)
    (write_ppm if target.endswith(".ppm") else write_png)(target, width, height, rows)


if __name__ == "__main__":
    main()
