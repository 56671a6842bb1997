#!/usr/bin/env bash
# Times tarnwick-grep against GNU grep and ripgrep on two threads (rg -j2),
# and tarnwick-count against wc -l (alone, and two at a time through
# xargs -P2), on a large tree of real text (copies of /usr/include), warm,
# and prints the ratios. The tree is built once and kept under bench/out/.
# With TARNWICK_BENCH_BEFORE set to the folder of an earlier build's tools,
# those are timed in the same runs too (their ratio is printed as "before").
#
#   bench/bench-grep.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
out="$here/out"
tree="$out/grep-tree"
big="$out/grep-big"
grep_tool="$build/src/tools/tarnwick-grep"
count_tool="$build/src/tools/tarnwick-count"
copies=${TARNWICK_BENCH_COPIES:-3}
runs=${TARNWICK_BENCH_RUNS:-10}
for tool in "$grep_tool" "$count_tool"; do
  [ -x "$tool" ] || { echo "missing $tool (build the tools first)" >&2; exit 2; }
done
for need in hyperfine rg; do
  command -v $need >/dev/null || { echo "$need is needed" >&2; exit 2; }
done
before=${TARNWICK_BENCH_BEFORE:-}

# The tree (grep-tree.sh).
. "$here/grep-tree.sh"
make_grep_tree
# One large file of the same text, and one line of 64 MiB without a line
# feed, for the memory check.
if [ ! -f "$big/.complete" ]; then
  rm -rf "$big"
  mkdir -p "$big"
  find "$tree/copy1" -type f -print0 | xargs -0 cat > "$big/all.txt"
  head -c $((64 * 1024 * 1024)) /dev/zero | tr '\0' 'x' > "$big/one-line.txt"
  touch "$big/.complete"
fi

files=$(find "$tree" -type f ! -name .complete | wc -l)
bytes=$(find "$tree" -type f ! -name .complete -print0 | du -cb --files0-from=- | tail -1 | cut -f1)
echo "tree: $tree"
echo "files: $files, bytes: $bytes ($((bytes / 1024 / 1024)) MiB)"
# Warm the page cache.
find "$tree" -type f -print0 | xargs -0 cat >/dev/null

export LC_ALL=C
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# time_pair NAME OURS THEIRS: wall-clock seconds of both (mean and
# fastest run), their ratios, and the ratio of processor time (user +
# system), which shows less of the noise that other work on the machine
# adds to wall-clock times. The two run in two rounds, once in each order,
# so that a change in the machine's load does not fall on one side only.
results=()
time_pair() {
  local name=$1 ours=$2 theirs=$3 half=$(((runs + 1) / 2)) old=()
  if [ -n "$before" ]; then
    old=(-n before "${ours/$build\/src\/search/$before}")
  fi
  hyperfine -N -i --style basic --warmup 2 --runs "$half" --output=pipe \
    --export-json "$tmp/first.json" -n tarnwick "$ours" -n reference "$theirs" "${old[@]}" >"$tmp/bench.log" 2>&1 &&
  hyperfine -N -i --style basic --warmup 1 --runs "$half" --output=pipe \
    --export-json "$tmp/second.json" "${old[@]}" -n reference "$theirs" -n tarnwick "$ours" >>"$tmp/bench.log" 2>&1 || {
    cat "$tmp/bench.log" >&2
    return 1
  }
  results+=("$(python3 - "$name" "$tmp/first.json" "$tmp/second.json" <<'PY'
import json, sys
name = sys.argv[1]
runs = {}
for path in sys.argv[2:]:
    for r in json.load(open(path))["results"]:
        runs.setdefault(r["command"], []).append(r)
def mean(side, key): return sum(r[key] for r in runs[side]) / len(runs[side])
def fastest(side): return min(r["min"] for r in runs[side])
def cpu(side): return mean(side, "user") + mean(side, "system")
o, t = "tarnwick", "reference"
line = (f"{name:<22} tarnwick {mean(o, 'mean'):6.3f} s (min {fastest(o):6.3f}, cpu {cpu(o):6.3f})  "
        f"reference {mean(t, 'mean'):6.3f} s (min {fastest(t):6.3f}, cpu {cpu(t):6.3f})  "
        f"ratio {mean(o, 'mean') / mean(t, 'mean'):4.2f}  min {fastest(o) / fastest(t):4.2f}  "
        f"cpu {cpu(o) / cpu(t):4.2f}")
if "before" in runs:
    b = "before"
    line += (f"  | before {mean(b, 'mean'):6.3f} s (min {fastest(b):6.3f}, cpu {cpu(b):6.3f}) "
             f"ratio {mean(b, 'mean') / mean(t, 'mean'):4.2f}  min {fastest(b) / fastest(t):4.2f}")
print(line)
PY
)")
  echo "${results[-1]}"
}

common=struct
rare=pthread_mutex_timedlock
g="$grep_tool --subdirs"
time_pair "grep common, case" "$g --case --all-lines $common $tree" "grep -rnF $common $tree"
time_pair "grep rare, -i" "$g --all-lines $rare $tree" "grep -rniF $rare $tree"
# Against ripgrep on two threads, in every mode of the engine.
rg2="rg -j2 --no-config --no-ignore --no-messages"
time_pair "rg2 common, case" "$g --case --all-lines $common $tree" "$rg2 -nF $common $tree"
time_pair "rg2 rare, case" "$g --case --all-lines $rare $tree" "$rg2 -nF $rare $tree"
time_pair "rg2 common, -i" "$g --all-lines $common $tree" "$rg2 -niF $common $tree"
time_pair "rg2 rare, -i" "$g --all-lines $rare $tree" "$rg2 -niF $rare $tree"
time_pair "rg2 common, words" "$g --case --words --all-lines $common $tree" "$rg2 -nwF $common $tree"
time_pair "rg2 common, files" "$g --case $common $tree" "$rg2 -lF $common $tree"
time_pair "rg2 rare, -i, files" "$g $rare $tree" "$rg2 -liF $rare $tree"
time_pair "count" "$count_tool --subdirs $tree" \
  "sh -c 'find $tree -type f ! -name .complete -print0 | wc -l --files0-from=-'"
time_pair "count, wc -P2" "$count_tool --subdirs $tree" \
  "sh -c 'find $tree -type f ! -name .complete -print0 | xargs -0 -P2 -n 1000 wc -l'"

# Same hits: the listed (path, line) pairs of both greps agree.
"$grep_tool" --case --subdirs --all-lines "$common" "$tree" 2>/dev/null | sort >"$tmp/ours"
grep -rnF "$common" "$tree" | awk -F: '{ print $1 "\t" $2 }' | sort >"$tmp/theirs"
if cmp -s "$tmp/ours" "$tmp/theirs"; then echo "hits agree: $(wc -l <"$tmp/ours") lines"; else echo "HITS DIFFER"; fi

echo
echo "maximum resident set size (KiB):"
rss() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
echo "  tarnwick-grep, tree:          $(rss "$grep_tool" --subdirs --all-lines $common "$tree")"
echo "  tarnwick-grep, one big file:  $(rss "$grep_tool" --all-lines $common "$big/all.txt")"
echo "  tarnwick-grep, 64 MiB line:   $(rss "$grep_tool" --all-lines y "$big/one-line.txt")"
echo "  tarnwick-count, tree:         $(rss "$count_tool" --subdirs "$tree")"
echo "  tarnwick-count, 64 MiB line:  $(rss "$count_tool" "$big/one-line.txt")"
echo "  grep -rnF, tree:              $(rss grep -rnF $common "$tree")"

echo
printf '%s\n' "${results[@]}"
