#!/usr/bin/env bash
# The text window on a 200 MB file and a large Replace All; see
# views_bench.cpp for what each figure is. For comparison, what reading the
# same file costs the usual command-line tools.
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target views_bench >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export TARNWICK_INI="$dir/TARNWICK.INI"
"$build"/bench/views_bench "$dir" "${MEGABYTES:-200}"
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
