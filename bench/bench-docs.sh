#!/usr/bin/env bash
# Documents on large files: loading a 200 MB text file against `wc -l`,
# memory per line, the large edits, and a 100 MB hex dump.
# Usage: bench/bench-docs.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: bench-docs.sh BUILD_DIR}
prog="$build/bench/docs_bench"
[ -x "$prog" ] || cmake --build "$build" --target docs_bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$prog" gen "$work/big.txt" 200
echo "file: $(stat -c %s "$work/big.txt") bytes, $(wc -l < "$work/big.txt") line feeds"
cat "$work/big.txt" > /dev/null  # both sides read from the page cache

if command -v hyperfine > /dev/null; then
  # dd into one buffer is the floor of holding the file in memory at all.
  hyperfine -N --warmup 1 --runs 5 --export-json "$work/load.json" \
    "wc -l $work/big.txt" "$prog load $work/big.txt" \
    "dd if=$work/big.txt of=/dev/null bs=256M count=1 iflag=fullblock status=none"
  python3 - "$work/load.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"]
cpu = [x['user'] + x['system'] for x in r]
print(f"load / wc -l: {r[1]['mean'] / r[0]['mean']:.2f}x wall (target <= 3x), "
      f"{cpu[1] / cpu[0]:.2f}x processor time ({cpu[1]:.3f} s against {cpu[0]:.3f} s)")
print(f"load / reading the file into memory (dd): {r[1]['mean'] / r[2]['mean']:.2f}x wall")
PY
else
  /usr/bin/time -f "wc -l: %e s" wc -l "$work/big.txt" > /dev/null
  /usr/bin/time -f "load: %e s, %M KiB max RSS" "$prog" load "$work/big.txt"
fi
/usr/bin/time -f "load alone: %M KiB max RSS" "$prog" load "$work/big.txt"

"$prog" edits "$work/big.txt"

head -c 100M "$work/big.txt" > "$work/hex.bin"
"$prog" hex "$work/hex.bin"
/usr/bin/time -f "hex load process: %M KiB max RSS" "$prog" hex "$work/hex.bin" > /dev/null
