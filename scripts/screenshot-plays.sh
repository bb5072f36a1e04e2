#!/usr/bin/env bash
# Photographs the plays window (投注方式), 组六胆拖 chosen over a small bet
# list: on Qt (xcb on a virtual display) into docs/screenshot-plays.png and,
# when the windows preset is configured, under Wine into
# docs/screenshot-plays-windows.png. With the argument "windows", only the
# latter.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=build/windows/tests/win32_plays_screenshot.exe
if [ "${1:-}" != windows ]; then
  qt=build/linux/tests/qt_plays_screenshot
  cmake --build --preset linux --target qt_plays_screenshot
  runtime=$(mktemp -d)
  trap 'rm -rf "$runtime"' EXIT
  XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x960x24" \
    "$qt" "$PWD/docs/screenshot-plays.png"
  echo "$PWD/docs/screenshot-plays.png"
  [ -f build/windows/CMakeCache.txt ] || exit 0
fi
cmake --build --preset windows --target win32_plays_screenshot
eval "$(scripts/wine-prefix.sh)"
out="$PWD/docs/screenshot-plays-windows.png"
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
[ -s "$ready" ] || { echo "the Windows program never showed the plays window" >&2; exit 1; }
convert "$out.full.png" -crop "$(tr -d '\r\n' < "$ready")" +repage "$out"
rm -f "$out.full.png" "$ready"
echo "$out"
