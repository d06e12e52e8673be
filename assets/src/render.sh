#!/bin/sh
# Redraws every picture in assets/ from the drawings in assets/src/ (and the
# window icon from assets/parvolin.svg). Needs rsvg-convert, cjpeg and python3;
# the build itself needs none of them, the results are kept in the tree.
set -eu

src=$(cd "$(dirname "$0")" && pwd)
out=$(dirname "$src")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The banner is a baseline JPEG; full-resolution chroma keeps the coloured
# lettering sharp, and the file stays near 10 kB.
rsvg-convert "$src/banner.svg" -o "$tmp/banner.png"
python3 "$src/flatten.py" "$tmp/banner.png" "$tmp/banner.ppm"
cjpeg -quality 90 -baseline -optimize -sample 1x1 -outfile "$out/banner.jpg" "$tmp/banner.ppm"

# Logo and mascot are opaque true-colour pictures.
for name in logo mascot; do
    rsvg-convert "$src/$name.svg" -o "$tmp/$name.png"
    python3 "$src/flatten.py" "$tmp/$name.png" "$out/$name.png"
done

# Icons keep their transparency. They are drawn on a 16-pixel grid, which
# doubles cleanly to 32.
mkdir -p "$out/icons/32"
for name in theory computation print exit save; do
    rsvg-convert "$src/icons/$name.svg" -o "$out/icons/$name.png"
    rsvg-convert -w 32 -h 32 "$src/icons/$name.svg" -o "$out/icons/32/$name.png"
done

rsvg-convert "$out/parvolin.svg" -o "$out/parvolin.png"

# The start picture: a baseline JPEG of 810 x 810 with three 8-bit components,
# shown through an elliptic window that hides its bottom rows.
rsvg-convert "$src/splash.svg" -o "$tmp/splash.png"
python3 "$src/flatten.py" "$tmp/splash.png" "$tmp/splash.ppm"
cjpeg -quality 90 -baseline -optimize -outfile "$out/splash.jpg" "$tmp/splash.ppm"

# The about window's OK glyph: 32 x 32 in the 16 standard colours, on the
# ground colour that the button makes transparent.
rsvg-convert "$src/ok.svg" -o "$tmp/ok.png"
python3 "$src/palette16.py" "$tmp/ok.png" "$out/ok.png"
