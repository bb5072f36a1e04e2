#!/usr/bin/env bash
# Photographs a dialog of the program as its posing programs fill it in
# (NAME is filter, the conditions window, plays, the plays window, or
# backtest, 历史验证 over res/demo/draws-sample.txt): on Qt
# (xcb on a virtual display) into docs/screenshot-NAME.png and, when the
# windows preset is configured, under Wine into
# docs/screenshot-NAME-windows.png. With "windows" after NAME, only the latter.
#   scripts/screenshot-dialog.sh NAME [windows]
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: $0 filter|plays|backtest [windows]}
sample="$PWD/res/demo/draws-sample.txt"
extra=()
[ "$name" = backtest ] && extra=("$sample")
export QELMAR3D_DRAWS_SAMPLE="Z:${sample//\//\\}"
exe=build/windows/tests/win32_${name}_screenshot.exe
if [ "${2:-}" != windows ]; then
  qt=build/linux/tests/qt_${name}_screenshot
  cmake --build --preset linux --target "qt_${name}_screenshot"
  runtime=$(mktemp -d)
  trap 'rm -rf "$runtime"' EXIT
  XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x960x24" \
    "$qt" "$PWD/docs/screenshot-$name.png" "${extra[@]}"
  echo "$PWD/docs/screenshot-$name.png"
  [ -f build/windows/CMakeCache.txt ] || exit 0
fi
cmake --build --preset windows --target "win32_${name}_screenshot"
eval "$(scripts/wine-prefix.sh)"
out="$PWD/docs/screenshot-$name-windows.png"
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
[ -s "$ready" ] || { echo "the Windows program never showed the $name window" >&2; exit 1; }
convert "$out.full.png" -crop "$(tr -d '\r\n' < "$ready")" +repage "$out"
rm -f "$out.full.png" "$ready"
echo "$out"
