#!/usr/bin/env bash
# Builds the program and starts it. With no display it starts it on a
# virtual one instead, saves a picture of the window, prints where, and ends.
#   ./scripts/run.sh [picture.png]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target qelmar3d
program=build/linux/qelmar3d
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi
picture="${1:-build/linux/qelmar3d-window.png}"
scripts/screenshot.sh "$program" "$picture"
echo "$picture"
