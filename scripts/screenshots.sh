#!/usr/bin/env bash
# Takes every picture of docs/ that the README shows, in one command: the
# main window on Qt at 100 % and 125 % (QT_SCALE_FACTOR) and under Wine at 96
# and 120 dpi, the list menu, the conditions, plays and draws windows. The
# Windows pictures need the windows preset configured; the tips picture is
# scripts/demo-tips.sh's own.
#   ./scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-2}"
cmake --build --preset linux --target qelmar3d qt_menu_screenshot qt_filter_screenshot \
  qt_draws_screenshot qt_plays_screenshot
program=build/linux/qelmar3d
# The program's own folder holds its data: a scratch copy starts empty.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$program" "$scratch/"
QT_SCALE_FACTOR=1 scripts/screenshot.sh "$scratch/qelmar3d" docs/screenshot.png
QT_SCALE_FACTOR=1.25 scripts/screenshot.sh "$scratch/qelmar3d" docs/screenshot-qt-125.png
echo docs/screenshot.png docs/screenshot-qt-125.png
scripts/screenshot-menu.sh
scripts/screenshot-draws.sh
scripts/screenshot-dialog.sh filter
scripts/screenshot-dialog.sh plays
if [ -f build/windows/CMakeCache.txt ]; then
  cmake --build --preset windows --target win32_screenshot
  scripts/screenshot-windows.sh
  scripts/screenshot-windows.sh 125
  scripts/screenshot-windows.sh menu
fi
