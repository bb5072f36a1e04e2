#!/usr/bin/env bash
# Photographs the conditions window, filled in: on Qt (xcb on a virtual
# display) into docs/screenshot-filter.png and, when the windows preset is
# built, under Wine into docs/screenshot-filter-windows.png. With the
# argument "windows", only the latter, building what it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=build/windows/tests/win32_filter_screenshot.exe
if [ "${1:-}" = windows ]; then
  [ -f "$exe" ] || cmake --build --preset windows --target win32_filter_screenshot
else
  qt=build/linux/tests/qt_filter_screenshot
  [ -f "$qt" ] || cmake --build --preset linux --target qt_filter_screenshot
  runtime=$(mktemp -d)
  trap 'rm -rf "$runtime"' EXIT
  XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x960x24" \
    "$qt" "$PWD/docs/screenshot-filter.png"
  echo "$PWD/docs/screenshot-filter.png"
  [ -f "$exe" ] || exit 0
fi
eval "$(scripts/wine-prefix.sh)"
out="$PWD/docs/screenshot-filter-windows.png"
ready="$(mktemp -u)"
export QELMAR3D_SHOT_READY="Z:${ready//\//\\}"
xvfb-run -a -s "-screen 0 1280x960x24" bash -c '
  wineserver -p
  wine "$1" &
  for _ in $(seq 300); do [ -s "$3" ] && break; sleep 0.2; done
  import -window root "$2.full.png"
  wait
  wineserver -k || true' _ "$exe" "$out" "$ready"
# The program wrote the window rectangle as WxH+X+Y.
convert "$out.full.png" -crop "$(tr -d '\r\n' < "$ready")" +repage "$out"
rm -f "$out.full.png" "$ready"
echo "$out"
