#!/usr/bin/env bash
# Builds the program and starts it. With no display it starts it on a
# virtual one instead, saves a picture of the window, prints where, and ends.
#   ./scripts/run.sh [picture.png]
# The release preset builds the program alone: no tests, so running it needs
# only the packages of `install-deps.sh run`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target qelmar3d
program=build/release/qelmar3d
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi
picture="${1:-build/release/qelmar3d-window.png}"
scripts/screenshot.sh "$program" "$picture"
echo "$picture"
