#!/usr/bin/env bash
# Photographs the Windows program under Wine on a virtual display, with a
# filled-in window, into docs/screenshot-windows.png; with the argument
# "menu", with mmoList's context menu open, into docs/screenshot-menu-windows.png;
# with "125", at 120 dpi (Wine's LogPixels, restored after), into
# docs/screenshot-windows-125.png. Build the windows preset first.
set -euo pipefail
cd "$(dirname "$0")/.."
eval "$(scripts/wine-prefix.sh)"
exe=build/windows/tests/win32_screenshot.exe
[ -f "$exe" ] || cmake --build --preset windows --target win32_screenshot
out="$PWD/docs/screenshot-windows.png"
dpi=96
extra=0
case "${1:-}" in
  menu)
    out="$PWD/docs/screenshot-menu-windows.png"
    extra=80  # the menu reaches past the window's right edge
    export QELMAR3D_SHOT_MENU=1
    ;;
  125)
    out="$PWD/docs/screenshot-windows-125.png"
    dpi=120
    ;;
esac
ready="$(mktemp -u)"
export QELMAR3D_SHOT_READY="Z:${ready//\//\\}"
xvfb-run -a -s "-screen 0 1280x960x24" bash -c '
  wineserver -p
  logpixels() {
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  }
  logpixels "$4"
  wine "$1" &
  for _ in $(seq 300); do [ -s "$3" ] && break; sleep 0.2; done
  import -window root "$2.full.png"
  wait
  logpixels 96
  wineserver -k || true' _ "$exe" "$out" "$ready" "$dpi"
# The program wrote the window rectangle as WxH+X+Y.
[ -s "$ready" ] || { echo "the Windows program never showed its window" >&2; exit 1; }
rect=$(tr -d '\r\n' < "$ready")
IFS='x+' read -r w h x y <<<"$rect"
convert "$out.full.png" -crop "$((w + extra))x$h+$x+$y" +repage "$out"
rm -f "$out.full.png" "$ready"
echo "$out"
