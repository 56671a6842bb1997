#!/usr/bin/env bash
# The cost of the hit's text: tarnwick-grep's plain listing against --text
# and --json, and ripgrep's rg -j2 -n and rg -j2 --json on the same tree
# (copies of /usr/include, as bench-grep.sh makes it), warm; then the
# Grep window's results at scale without a window (results_bench: memory a
# hit, rows read for the text column, the filter's time a key).
#
#   bench/bench-results.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
out="$here/out"
tree="$out/grep-tree"
grep_tool="$build/src/tools/tarnwick-grep"
copies=${TARNWICK_BENCH_COPIES:-3}
runs=${TARNWICK_BENCH_RUNS:-10}
for need in hyperfine rg; do
  command -v $need >/dev/null || { echo "$need is needed" >&2; exit 2; }
done
cmake --build "$build" --target tarnwick-grep results_bench >/dev/null

. "$here/grep-tree.sh"
make_grep_tree
find "$tree" -type f -print0 | xargs -0 cat >/dev/null
export LC_ALL=C
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

pattern=${TARNWICK_BENCH_PATTERN:-include}
hyperfine -N --warmup 1 --runs "$runs" --export-csv "$tmp/times.csv" \
  -n plain "$grep_tool --subdirs --all-lines $pattern $tree" \
  -n text "$grep_tool --subdirs --all-lines --text $pattern $tree" \
  -n json "$grep_tool --subdirs --all-lines --json $pattern $tree" \
  -n rg-n "rg -j2 -n -F -i --no-ignore --no-messages $pattern $tree" \
  -n rg-json "rg -j2 --json -F -i --no-ignore --no-messages $pattern $tree" >/dev/null
awk -F, 'NR > 1 { t[$1] = $2 }
  END {
    printf "plain %.3f s, --text %.3f s, --json %.3f s, rg -n %.3f s, rg --json %.3f s\n",
      t["plain"], t["text"], t["json"], t["rg-n"], t["rg-json"]
    printf "--text / plain %.2f, --json / plain %.2f\n", t["text"] / t["plain"], t["json"] / t["plain"]
    printf "plain / rg -n %.2f, --text / rg -n %.2f, --json / rg --json %.2f\n",
      t["plain"] / t["rg-n"], t["text"] / t["rg-n"], t["json"] / t["rg-json"]
  }' "$tmp/times.csv"
echo "hits: $("$grep_tool" --subdirs --all-lines "$pattern" "$tree" 2>/dev/null | wc -l)"

"$build/bench/results_bench" "$tmp/results"
