#!/usr/bin/env bash
# Starts a program on a virtual display of its own, saves a PNG picture of
# its main window and stops it again.
#   scripts/screenshot.sh PROGRAM PICTURE.png
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 PROGRAM PICTURE.png" >&2; exit 2; }

if [ "${QELMAR3D_ON_VIRTUAL_DISPLAY:-}" != 1 ]; then
  QELMAR3D_ON_VIRTUAL_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

program=$1
picture=$2
mkdir -p "$(dirname "$picture")"
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb "$program" &
pid=$!

# The window of the program's class, once it is mapped and has its size.
name=$(basename "$program")
window=""
for _ in $(seq 100); do
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "$program ended before its window showed" >&2
    exit 1
  fi
  window=$(xwininfo -root -tree 2>/dev/null |
    awk -v cls="(\"$name\" \"$name\")" 'index($0, cls) && $0 !~ / 1x1\+/ { print $1; exit }')
  [ -n "$window" ] && xwininfo -id "$window" 2>/dev/null | grep -q "IsViewable" && break
  window=""
  sleep 0.1
done
[ -n "$window" ] || { kill "$pid"; echo "no window of $name appeared" >&2; exit 1; }
sleep 1  # first paint
import -window "$window" "$picture"
kill "$pid"
wait "$pid" 2>/dev/null || true
