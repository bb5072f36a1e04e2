#!/usr/bin/env bash
# Redraws the icon's PNG sizes and the Windows .ico from qelmar3d.svg.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
sizes=(16 24 32 48 64 128 256)
for s in "${sizes[@]}"; do
  rsvg-convert -w "$s" -h "$s" qelmar3d.svg -o "icons/qelmar3d-$s.png"
done
pngs=()
for s in "${sizes[@]}"; do pngs+=("icons/qelmar3d-$s.png"); done
convert "${pngs[@]}" qelmar3d.ico
