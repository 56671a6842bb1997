#!/usr/bin/env bash
# Loading a large text file (1 GB by default, ~50-byte lines) against
# `wc -l` on the same file in one run: wall and processor time, the memory
# held against 1.3 x the file plus 20 bytes a line, and a load in steps
# (first screen, longest step).
# Usage: bench/bench-text-load.sh BUILD_DIR [MEGABYTES]
set -euo pipefail
build=${1:?usage: bench-text-load.sh BUILD_DIR [MEGABYTES]}
megabytes=${2:-1024}
cmake --build "$build" --target text_edit_bench docs_bench > /dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file="$work/big.txt"
"$build/bench/docs_bench" gen "$file" "$megabytes"
bytes=$(stat -c %s "$file")
lines=$(wc -l < "$file")
echo "file: $bytes bytes, $lines lines"

# dd into one buffer of the file's size is the floor of holding the file in
# memory at all: on a virtual machine whose host takes back freed memory,
# new memory costs more than reading the file, and the runs of one command
# differ by whether the memory of the run before is still backed.
if command -v hyperfine > /dev/null; then
  hyperfine -N --warmup 1 --runs 5 --export-json "$work/load.json" "wc -l $file" "$build/bench/docs_bench load $file" \
    "dd if=$file of=/dev/null bs=$bytes count=1 iflag=fullblock status=none"
  python3 - "$work/load.json" <<'PY'
import json, statistics, sys
r = json.load(open(sys.argv[1]))["results"]
cpu = [x['user'] + x['system'] for x in r]
print(f"load / wc -l: {r[1]['mean'] / r[0]['mean']:.2f}x wall (target <= 2.5x), "
      f"{cpu[1] / cpu[0]:.2f}x processor time ({cpu[1]:.3f} s against {cpu[0]:.3f} s)")
for name, x in zip(["wc -l", "load", "dd"], r):
    print(f"  {name}: min {min(x['times']):.3f} s, median {statistics.median(x['times']):.3f} s")
print(f"load / wc -l by the medians: {statistics.median(r[1]['times']) / statistics.median(r[0]['times']):.2f}x; "
      f"load / dd: {statistics.median(r[1]['times']) / statistics.median(r[2]['times']):.2f}x")
PY
fi
for _ in 1 2 3; do
  /usr/bin/time -f "wc -l: %e s wall, %U + %S s processor" wc -l "$file" > /dev/null
  /usr/bin/time -f "load: %e s wall, %U + %S s processor, %M KiB max RSS" "$build/bench/docs_bench" load "$file"
done 2> "$work/times"
cat "$work/times"
rss=$(grep -o '[0-9]* KiB max RSS' "$work/times" | head -1 | cut -d' ' -f1)
python3 -c "
bytes, lines, rss = $bytes, $lines, $rss * 1024
budget = 1.3 * bytes + 20 * lines
print(f'memory: {rss / 2**20:.0f} MiB held, budget {budget / 2**20:.0f} MiB (1.3 x file + 20 B a line): {rss / budget:.2f} of it')"
"$build/bench/text_edit_bench" steps-load "$file"
