#!/usr/bin/env bash
# Draws the application icon (three digit balls on a red ticket) and packs
# it into qelmar3d.ico. Needs ImageMagick; run it from any folder.
set -euo pipefail
cd "$(dirname "$0")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill '#c8102e' -draw 'roundrectangle 8,8 247,247 40,40' \
  -fill '#fffbf0' -draw 'roundrectangle 24,24 231,231 28,28' \
  -fill '#c8102e' -draw 'circle 72,128 110,128' \
  -fill '#0000ff' -draw 'circle 128,128 166,128' \
  -fill '#c8102e' -draw 'circle 184,128 222,128' \
  -fill white -draw 'circle 72,128 88,128' -draw 'circle 128,128 144,128' \
  -draw 'circle 184,128 200,128' \
  -fill '#c8102e' -draw 'roundrectangle 48,190 207,203 7,7' -draw 'roundrectangle 48,52 207,65 7,7' \
  "$tmp/256.png"
sizes=(16 24 32 48 64)
for s in "${sizes[@]}"; do convert "$tmp/256.png" -resize "${s}x${s}" "$tmp/$s.png"; done
files=(); for s in "${sizes[@]}"; do files+=("$tmp/$s.png"); done; convert "${files[@]}" "$tmp/256.png" qelmar3d.ico
