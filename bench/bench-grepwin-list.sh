#!/usr/bin/env bash
# The Grep window's list with millions of hits: the memory a hit costs
# (the peak resident size of a run that lists them, less that of the same
# run listing none, over the number of hits) and how the full list answers
# scrolling, a click, selecting everything and Stop.
#
#   bench/bench-grepwin-list.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
tree="$here/out/hits-tree"
files=${TARNWICK_BENCH_HIT_FILES:-100}
lines_each=${TARNWICK_BENCH_HIT_LINES:-100000}
cmake --build "$build" --target grepwin_bench >/dev/null
window="$build/bench/grepwin_bench"
[ -x /usr/bin/time ] || { echo "/usr/bin/time is needed" >&2; exit 2; }

# Files of short lines that all hold the pattern.
if [ ! -f "$tree/.complete-$files-$lines_each" ]; then
  rm -rf "$tree"
  mkdir -p "$tree/some/deeper/folders/of/the/tree"
  awk -v n="$lines_each" 'BEGIN { for (i = 0; i < n; i++) print "a hit" }' >"$tree/one.txt"
  for i in $(seq 1 "$files"); do
    cp "$tree/one.txt" "$tree/some/deeper/folders/of/the/tree/file-with-a-name-of-some-length-$i.txt"
  done
  rm "$tree/one.txt"
  touch "$tree/.complete-$files-$lines_each"
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export TARNWICK_INI="$tmp/TARNWICK.INI" LC_ALL=C

peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
none=$(peak "$window" --case --subdirs --all-lines --runs 1 zzz "$tree")
full=$(peak "$window" --case --subdirs --all-lines --runs 1 hit "$tree")
hits=$((files * lines_each))
echo "hits: $hits in $files files"
echo "peak resident size, no hits: $none KiB; all hits: $full KiB"
python3 -c "print(f'bytes a hit (whole process): {($full - $none) * 1024 / $hits:.1f}')"

"$window" --case --subdirs --all-lines --runs 1 --interact hit "$tree" 2>/dev/null | grep -v '^best'
"$window" --case --subdirs --all-lines --runs 3 --stop-after 1500 hit "$tree" 2>/dev/null | grep 'stop latency' |
  sort -n -k3 | tail -1 | sed 's/^/worst /'
