#!/usr/bin/env bash
# Serves the sample tips page res/demo/tips.asp on the loopback address that
# the preset tips-demo builds the program against, and starts that program:
# 15 seconds later its status line shows a tip. With no display it starts it
# on a virtual one instead, rests the mouse on the tip once it shows, saves a
# picture of the window with the tip's tooltip, prints where, and ends.
#   ./scripts/demo-tips.sh [picture.png]   (default docs/screenshot-tips.png)
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
  echo "demo-tips: $*" >&2
  exit 1
}

# On the virtual display: the program, the first tip, the mouse on it.
photograph() {
  local program=$1 picture=$2 cache pid window runtime
  cache=$(dirname "$program")/tipsupd.dat
  runtime=$(mktemp -d)
  rm -f "$cache"
  XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb "$program" &
  pid=$!
  trap "kill $pid 2>/dev/null || true; rm -rf '$runtime'" EXIT
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Qelmar3D' | head -n 1) ||
    fail "no window of $program appeared"
  # The first tick, 15 s after start, fetches the page into the cache file.
  for _ in $(seq 300); do
    [ -s "$cache" ] && break
    kill -0 "$pid" 2>/dev/null || fail "$program ended before its first tip"
    sleep 0.1
  done
  cmp -s "$cache" res/demo/tips.asp || fail "the program did not fetch the sample page"
  sleep 1
  local X Y WIDTH HEIGHT SCREEN left top width bottom tip
  eval "$(xdotool getwindowgeometry --shell "$window")"
  left=$X top=$Y width=$WIDTH bottom=$((Y + HEIGHT))
  # Qt shows tooltips in the active window only; with no window manager the
  # input focus makes it so.
  xdotool windowfocus --sync "$window"
  # lblTips starts 2 pixels into the 20-pixel status line along the bottom.
  xdotool mousemove --sync $((left + 12)) $((bottom - 10))
  sleep 0.2
  xdotool mousemove --sync $((left + 14)) $((bottom - 10))
  # The tooltip: another shown window of the program.
  for _ in $(seq 50); do
    tip=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -v -x "$window" | head -n 1) &&
      [ -n "$tip" ] && break
    sleep 0.1
  done
  [ -n "$tip" ] || fail "no tooltip showed on the status line"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$tip")"
  [ $((Y + HEIGHT)) -le "$bottom" ] || bottom=$((Y + HEIGHT + 4))
  mkdir -p "$(dirname "$picture")"
  # The tooltip is a window of its own: the root window's picture, cut to the
  # main window and whatever of the tooltip lies below it.
  import -window root "$runtime/screen.png"
  convert "$runtime/screen.png" -crop "${width}x$((bottom - top))+$left+$top" +repage "$picture"
}

if [ "${1:-}" = --photograph ]; then
  photograph "$2" "$3"
  exit 0
fi

scripts/install-deps.sh demo
cmake --preset tips-demo >/dev/null
cmake --build --preset tips-demo -j2
program=build/tips-demo/qelmar3d
host=$(sed -n 's/^QELMAR3D_TIPS_HOST:STRING=//p' build/tips-demo/CMakeCache.txt)
port=${host##*:}
[ "$host" = "127.0.0.1:$port" ] || fail "the tips-demo build fetches from $host, not the loopback"

# The program talks to the loopback only: no proxy in between.
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY all_proxy ALL_PROXY
log=$(mktemp)
python3 -m http.server "$port" --bind 127.0.0.1 --directory res/demo >"$log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 50); do
  kill -0 "$server" 2>/dev/null || { cat "$log" >&2; fail "no web server on $host"; }
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done
sleep 0.2
# Ours answered, not another server already on that port.
kill -0 "$server" 2>/dev/null || { cat "$log" >&2; fail "no web server of ours on $host"; }
echo "demo-tips: serving res/demo/tips.asp at http://$host/tips.asp"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "$program"
  exit 0
fi
picture=${1:-docs/screenshot-tips.png}
# A white root window behind what the tooltip leaves of the band below.
xvfb-run -a -s "-screen 0 1280x800x24 -wr" "$0" --photograph "$program" "$picture"
echo "$picture"
