#!/usr/bin/env bash
# Renders Aspirello's icon from icons/aspirello.svg into the square PNG sizes
# and the Windows .ico (256 px stored as PNG, the smaller ones as bitmaps).
# Needs rsvg-convert (librsvg2-bin) and icotool (icoutils).
# usage: packaging/make-icons.sh   (writes beside the SVG; commit the result)
set -euo pipefail
cd "$(dirname "$0")/icons"

sizes=(256 128 64 48 32)
for tool in rsvg-convert icotool; do
  command -v "$tool" >/dev/null || { echo "make-icons: $tool is missing (librsvg2-bin, icoutils)" >&2; exit 1; }
done

pngs=()
for size in "${sizes[@]}"; do
  rsvg-convert --width "$size" --height "$size" --format png aspirello.svg --output "aspirello-$size.png"
  pngs+=("aspirello-$size.png")
done
icotool --create --output aspirello.ico --raw=aspirello-256.png "${pngs[@]:1}"
echo "Wrote ${pngs[*]} aspirello.ico"
