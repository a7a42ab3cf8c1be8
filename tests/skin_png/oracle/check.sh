#!/usr/bin/env bash
# Confirms the test corpus generator with an independent decoder (ImageMagick):
# builds dump.cpp natively, writes PNGs of every colour type, bit depth and
# layout with their true pixels, and compares. Linux side only; not part of CI.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
g++ -std=c++20 -O1 -I"$here/../../support" "$here/dump.cpp" "$here/../../support/png_writer.cpp" -lz -o "$out/dump"
"$out/dump" "$out"
bad=0
for f in "$out"/c*.png; do
  b="${f%.png}"
  convert "$f" -endian MSB -depth 16 "rgba:$b.im"
  cmp -s "$b.im" "$b.rgba16" || { echo "differs: $(basename "$f")"; bad=$((bad + 1)); }
done
echo "$bad of $(ls "$out"/c*.png | wc -l) files differ"
[ "$bad" -eq 0 ]
