#!/usr/bin/env bash
# Photographs the Qt window with mmoList's context menu open, on a virtual
# display, into docs/screenshot-menu-qt.png. Build the linux preset first.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=build/linux/tests/qt_menu_screenshot
[ -f "$exe" ] || cmake --build --preset linux --target qt_menu_screenshot
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
  "$exe" "$PWD/docs/screenshot-menu-qt.png"
echo "$PWD/docs/screenshot-menu-qt.png"
