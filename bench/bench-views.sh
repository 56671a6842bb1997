#!/usr/bin/env bash
# The text windows in the frame on a 200 MB file and a large Replace All;
# see views_bench.cpp for what each figure is. Runs twice: offscreen, and
# against a real X server, where drawing and the clipboard cost what they
# cost a user. BENCH_DISPLAY=:N uses that running server; otherwise a
# private Xvfb is started on a free display. For comparison, what reading
# the same file costs the usual command-line tools.
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target views_bench >/dev/null
dir=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
export TARNWICK_INI="$dir/TARNWICK.INI"

echo "-- offscreen"
QT_QPA_PLATFORM=offscreen "$build"/bench/views_bench "$dir" "${MEGABYTES:-200}"

echo "-- real X server"
display=${BENCH_DISPLAY:-}
if [ -z "$display" ]; then
  command -v Xvfb >/dev/null || { echo "Xvfb is missing: scripts/install-deps.sh xvfb" >&2; exit 1; }
  Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>"$dir/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.05; done
  display=":$(cat "$dir/display")"
fi
rm -f "$TARNWICK_INI"
DISPLAY=$display QT_QPA_PLATFORM=xcb "$build"/bench/views_bench "$dir" "${MEGABYTES:-200}"

# The same bytes through wc and sed, as a yardstick for the load and the replace.
python3 - "$dir" <<'PY'
import sys
line = b"    the quick brown fox jumps over the lazy dog, again and again 0123456789\n"
n = 200 * 1024 * 1024 // len(line)
with open(sys.argv[1] + "/big.txt", "wb") as f:
    for _ in range(n // 10000):
        f.write(line * 10000)
with open(sys.argv[1] + "/many.txt", "wb") as f:
    f.write(b"foo bar foo bar foo bar foo bar foo bar foo bar foo bar foo bar foo bar foo bar\n" * 10000)
PY
hyperfine -N --warmup 1 --runs 5 "wc -l $dir/big.txt" "sed -e s/foo/quux/g $dir/many.txt" 2>/dev/null | grep -E "Benchmark|Time"
