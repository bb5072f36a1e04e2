#!/usr/bin/env bash
# Photographs the draws window on the sample history res/demo/draws-sample.txt
# after a 对奖 of every number: on Qt (xcb on a virtual display) into
# docs/screenshot-draws.png and, when the windows preset is built, under Wine
# into docs/screenshot-draws-windows.png.
set -euo pipefail
cd "$(dirname "$0")/.."
sample="$PWD/res/demo/draws-sample.txt"
qt=build/linux/tests/qt_draws_screenshot
[ -f "$qt" ] || cmake --build --preset linux --target qt_draws_screenshot
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x960x24" \
  "$qt" "$PWD/docs/screenshot-draws.png" "$sample"
echo "$PWD/docs/screenshot-draws.png"

exe=build/windows/tests/win32_draws_screenshot.exe
[ -f "$exe" ] || exit 0
eval "$(scripts/wine-prefix.sh)"
out="$PWD/docs/screenshot-draws-windows.png"
ready="$(mktemp -u)"
export QELMAR3D_SHOT_READY="Z:${ready//\//\\}"
export QELMAR3D_DRAWS_SAMPLE="Z:${sample//\//\\}"
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
