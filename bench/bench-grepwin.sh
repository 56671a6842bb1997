#!/usr/bin/env bash
# Times a run inside the Grep window (offscreen, with its event pumps and
# list updates) against tarnwick-grep on the same tree, warm, and prints the
# ratio (target: at most 1.2). Uses the tree of bench-grep.sh, building it
# the same way when it is missing.
#
#   bench/bench-grepwin.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
tree="$here/out/grep-tree"
copies=${TARNWICK_BENCH_COPIES:-3}
runs=${TARNWICK_BENCH_RUNS:-5}
cmake --build "$build" --target grepwin_bench tarnwick-grep >/dev/null
window="$build/bench/grepwin_bench"
tool="$build/src/tools/tarnwick-grep"
command -v hyperfine >/dev/null || { echo "hyperfine is needed" >&2; exit 2; }

. "$here/grep-tree.sh"
make_grep_tree
find "$tree" -type f -print0 | xargs -0 cat >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export TARNWICK_INI="$tmp/TARNWICK.INI" LC_ALL=C

# compare NAME PATTERN FLAGS...: the best window run against the tool's
# fastest whole process (wall time), and the processor time of both.
compare() {
  local name=$1 pattern=$2
  shift 2
  "$window" "$@" --runs "$runs" "$pattern" "$tree" 2>/dev/null >"$tmp/win.log"
  hyperfine --style basic --warmup 1 --runs "$runs" --output=pipe --export-json "$tmp/tool.json" \
    "$tool $* $pattern $tree" >/dev/null 2>&1
  python3 - "$name" "$tmp/win.log" "$tmp/tool.json" <<'PY'
import json, re, sys
name, log, tool = sys.argv[1:4]
runs = [re.match(r"run \d+: ([\d.]+) seconds, ([\d.]+) cpu seconds, (.*)", l) for l in open(log)]
runs = [r for r in runs if r]
wall = min(float(r.group(1)) for r in runs)
cpu = min(float(r.group(2)) for r in runs)
t = json.load(open(tool))["results"][0]
twall = min(t["times"])
tcpu = min(u + s for u, s in zip(t["user"], t["system"])) if "user" in t and isinstance(t["user"], list) else t["user"] + t["system"]
print(f"{name:<16} window {wall:7.3f} s ({cpu:6.3f} cpu)   tarnwick-grep {twall:7.3f} s ({tcpu:6.3f} cpu)"
      f"   ratio {wall / twall:5.2f} ({cpu / tcpu:5.2f} cpu)   {runs[0].group(3)}")
PY
}

echo "tree: $tree ($(find "$tree" -type f | wc -l) files)"
compare "rare, case" pthread_mutex_timedlock --case --subdirs --all-lines
compare "common, case" struct --case --subdirs --all-lines
compare "common, -i" struct --subdirs --all-lines
# Most lines a hit: the list takes millions of entries.
compare "most lines (e)" e --case --subdirs --all-lines

# Stop pressed half a second into a run that lists millions of lines.
"$window" --case --subdirs --all-lines --runs 3 --stop-after 500 e "$tree" 2>/dev/null | grep 'stop latency' |
  sort -n -k3 | tail -1 | sed 's/^/worst /'
