#!/usr/bin/env bash
# Photographs the Windows program under Wine on a virtual display, with a
# filled-in window, into docs/screenshot-windows.png; with the argument
# "menu", with mmoList's context menu open, into docs/screenshot-menu-windows.png.
# Build the windows preset first.
set -euo pipefail
cd "$(dirname "$0")/.."
eval "$(scripts/wine-prefix.sh)"
exe=build/windows/tests/win32_screenshot.exe
[ -f "$exe" ] || cmake --build --preset windows --target win32_screenshot
out="$PWD/docs/screenshot-windows.png"
width=800
if [ "${1:-}" = menu ]; then
  out="$PWD/docs/screenshot-menu-windows.png"
  width=880  # the menu reaches past the window's right edge
  export QELMAR3D_SHOT_MENU=1
fi
ready="$(mktemp -u)"
export QELMAR3D_SHOT_READY="Z:${ready//\//\\}"
xvfb-run -a -s "-screen 0 1280x960x24" bash -c '
  wineserver -p
  wine "$1" &
  for _ in $(seq 300); do [ -e "$3" ] && break; sleep 0.2; done
  import -window root "$2.full.png"
  wait
  wineserver -k || true' _ "$exe" "$out" "$ready"
rm -f "$ready"
# The window opens at 335,130 with an outer size of 800 x 600.
convert "$out.full.png" -crop ${width}x600+335+130 +repage "$out"
rm -f "$out.full.png"
echo "$out"
