#!/bin/sh
# Writes the two small JPEGs the decoder tests read. Every flat area covers
# whole 16 x 16 blocks, so the decoded colours stay within a step or two of
# the drawn ones. Needs python3 and cjpeg.
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 32 x 16 grey: left half dark (40), right half light (200).
python3 -c '
import sys
row = bytes([40] * 16 + [200] * 16)
sys.stdout.buffer.write(b"P5\n32 16\n255\n" + row * 16)' > "$tmp/grey.pgm"
cjpeg -quality 95 -grayscale -outfile grey.jpg "$tmp/grey.pgm"

# 32 x 32 colour, progressive: red, green / blue, white quadrants.
python3 -c '
import sys
red, green, blue, white = b"\xdc\x28\x28", b"\x28\xb4\x3c", b"\x28\x3c\xc8", b"\xff\xff\xff"
top, bottom = (red * 16 + green * 16), (blue * 16 + white * 16)
sys.stdout.buffer.write(b"P6\n32 32\n255\n" + top * 16 + bottom * 16)' > "$tmp/quadrants.ppm"
cjpeg -quality 95 -progressive -outfile progressive.jpg "$tmp/quadrants.ppm"
