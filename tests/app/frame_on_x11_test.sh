#!/usr/bin/env bash
# The frame under a real X server and window manager: a stored placement of
# 100000 by 100000 at -50,-50 must come up small in memory and wholly on
# the screen, title bar and borders included. Starts its own Xvfb and
# openbox on a free display.
set -euo pipefail
exe=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
if ! "$root/scripts/install-deps.sh" xvfb openbox x11-utils >/dev/null 2>&1; then
  echo "SKIP: xvfb, openbox or x11-utils missing and cannot be installed here"
  exit 77
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
# The window manager is up once it has named itself on the root window.
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

printf '[MainWin]\nX=-50\nY=-50\nW=100000\nH=100000\n' > "$work/TARNWICK.INI"
TARNWICK_INI="$work/TARNWICK.INI" QT_QPA_PLATFORM=xcb "$exe" >/dev/null 2>&1 &
app=$!
pids+=($app)

window=
for _ in $(seq 100); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Tarnwick": \("tarnwick"/ && !found {print $1; found = 1}' || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "FAIL: no frame window"; exit 1; }

# The frame's place as the window manager shows it; true when the frame,
# borders included, lies wholly on the screen.
measure() {
  local info extents
  info=$(xwininfo -id "$window")
  x=$(awk '/Absolute upper-left X/ {print $NF}' <<< "$info")
  y=$(awk '/Absolute upper-left Y/ {print $NF}' <<< "$info")
  w=$(awk '/Width:/ {print $NF}' <<< "$info")
  h=$(awk '/Height:/ {print $NF}' <<< "$info")
  extents=$(xprop -id "$window" _NET_FRAME_EXTENTS)
  [[ $extents == *=* ]] || return 1  # not framed yet
  read -r left right top bottom < <(sed 's/.*= //; s/,//g' <<< "$extents")
  (( x - left >= 0 && y - top >= 0 && x + w + right <= 1280 && y + h + bottom <= 1024 ))
}
# The frame is fitted again once the window manager has framed it: wait
# for that, for at most five seconds.
left=0 right=0 top=0 bottom=0
for _ in $(seq 50); do
  measure && break
  sleep 0.1
done
rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
echo "client ${w}x${h}+${x}+${y}, frame extents $left $right $top $bottom, ${rss} kB resident"

status=0
(( x - left >= 0 && y - top >= 0 )) || { echo "FAIL: frame starts off the screen"; status=1; }
(( x + w + right <= 1280 && y + h + bottom <= 1024 )) || { echo "FAIL: frame ends off the screen"; status=1; }
(( rss < 400000 )) || { echo "FAIL: ${rss} kB resident"; status=1; }
exit $status
