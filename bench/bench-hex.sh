#!/usr/bin/env bash
# Hex windows on files of 10 kB, 100 MB, 3 GB and a 10 GB sparse file: time
# from File Open to the first screen of rows, paging, Ctrl+End, Go to
# offset, and the process's peak memory (/usr/bin/time); see hex_bench.cpp.
# Offscreen, then against a real X server when BENCH_DISPLAY=:N names one.
# HEX_SIZES picks the files ("10k 100M 3G 10G" by default).
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target hex_bench >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export TARNWICK_INI="$dir/TARNWICK.INI"

make_file() {
  local name=$1
  case $name in
    10k) head -c 10240 /dev/urandom > "$dir/$name" ;;
    100M) head -c 100M /dev/urandom > "$dir/$name" ;;
    3G) head -c 100M /dev/urandom > "$dir/block"
        for _ in $(seq 30); do cat "$dir/block"; done > "$dir/$name"
        head -c 72M "$dir/block" >> "$dir/$name"  # 3 GiB in all
        rm -f "$dir/block" ;;
    10G) truncate -s 10G "$dir/$name" ;;  # sparse: no disk space
    *) echo "unknown size $name" >&2; exit 2 ;;
  esac
}

run() {
  local file=$1; shift
  /usr/bin/time -f "max RSS (time -v): %M KiB, wall %e s" "$build"/bench/hex_bench "$file" "$@"
}

for size in ${HEX_SIZES:-10k 100M 3G 10G}; do
  make_file "$size"
  echo "== $size offscreen"
  QT_QPA_PLATFORM=offscreen run "$dir/$size" $([ "$size" = 100M ] && echo save)
  if [ -n "${BENCH_DISPLAY:-}" ]; then
    echo "== $size on $BENCH_DISPLAY"
    DISPLAY=$BENCH_DISPLAY QT_QPA_PLATFORM=xcb run "$dir/$size"
  fi
  rm -f "$dir/$size"
done
