#!/usr/bin/env bash
# Times a grep run that leaves out a folder of 100,000 files against the
# same run without exclusions and against ripgrep on two threads told to
# leave out the folder (rg -j2 -g '!node_modules'), in one hyperfine run,
# warm, and prints the ratios. The tree is built once under bench/out/.
#
#   bench/bench-exclude.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
tree="$here/out/exclude-tree"
grep_tool="$build/src/tools/tarnwick-grep"
runs=${TARNWICK_BENCH_RUNS:-5}
[ -x "$grep_tool" ] || { echo "missing $grep_tool (build the tools first)" >&2; exit 2; }
for need in hyperfine rg git python3; do
  command -v $need >/dev/null || { echo "$need is needed" >&2; exit 2; }
done

# 2,000 source-like files of 4 KiB beside node_modules/: 1,000 folders of
# 100 small files each. The tree is a repository whose .gitignore names
# the folder.
if [ ! -f "$tree/.complete" ]; then
  rm -rf "$tree"
  mkdir -p "$tree"
  python3 - "$tree" <<'PY'
import os, sys
top = sys.argv[1]
line = "static int counter_%d = value_of(table, %d); /* plain text */\n"
for d in range(20):
    os.makedirs(f"{top}/src/d{d}", exist_ok=True)
    for f in range(100):
        with open(f"{top}/src/d{d}/f{f}.c", "w") as out:
            out.write("".join(line % (i, i) for i in range(64)) + ("needle\n" if f == 7 else ""))
for d in range(1000):
    os.makedirs(f"{top}/node_modules/p{d}", exist_ok=True)
    for f in range(100):
        with open(f"{top}/node_modules/p{d}/m{f}.js", "w") as out:
            out.write("module.exports = function () { return needle; };\n")
PY
  git -C "$tree" init -q .
  echo "node_modules/" >"$tree/.gitignore"
  touch "$tree/.complete"
fi
find "$tree" -type f -print0 | xargs -0 cat >/dev/null  # warm

export LC_ALL=C
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
g="$grep_tool --subdirs --all-lines"
hyperfine -N -i --style basic --warmup 1 --runs "$runs" --output=pipe --export-json "$tmp/runs.json" \
  -n all "$g needle $tree" \
  -n exclude "$g --exclude node_modules/ needle $tree" \
  -n gitignore "$g --gitignore needle $tree" \
  -n rg-exclude "rg -j2 --no-config --no-ignore -n -g !node_modules needle $tree" \
  -n rg-all "rg -j2 --no-config --no-ignore -n needle $tree" >"$tmp/log" 2>&1 || { cat "$tmp/log" >&2; exit 1; }

# The same hits either way.
$g --exclude node_modules/ needle "$tree" 2>/dev/null | sort >"$tmp/ours"
rg -j2 --no-config --no-ignore -n -g '!node_modules' needle "$tree" | awk -F: '{ print $1 "\t" $2 }' | sort >"$tmp/theirs"
if cmp -s "$tmp/ours" "$tmp/theirs"; then echo "hits agree: $(wc -l <"$tmp/ours") lines"; else echo "HITS DIFFER"; fi

python3 - "$tmp/runs.json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
for name, x in r.items():
    print(f"{name:<11} {x['mean']:7.3f} s (min {x['min']:7.3f}, cpu {x['user'] + x['system']:7.3f})")
def ratio(a, b): return r[a]["mean"] / r[b]["mean"]
print(f"exclude / all         {ratio('exclude', 'all'):6.3f}")
print(f"gitignore / all       {ratio('gitignore', 'all'):6.3f}")
print(f"exclude / rg-exclude  {ratio('exclude', 'rg-exclude'):6.3f}")
print(f"gitignore / rg-exclude {ratio('gitignore', 'rg-exclude'):5.3f}")
print(f"all / rg-all          {ratio('all', 'rg-all'):6.3f}")
PY
