#!/usr/bin/env bash
# Editing steps in a 200 MB text file against the same steps in a 1,000-line
# file, and on one 50 MB line made in the document and loaded from a file.
# Usage: bench/bench-text-edits.sh BUILD_DIR [MEGABYTES]
set -euo pipefail
build=${1:?usage: bench-text-edits.sh BUILD_DIR [MEGABYTES]}
megabytes=${2:-200}
cmake --build "$build" --target text_edit_bench docs_bench > /dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/docs_bench" gen "$work/big.txt" "$megabytes"
head -n 1000 "$work/big.txt" > "$work/small.txt"
echo "file: $(stat -c %s "$work/big.txt") bytes, $(wc -l < "$work/big.txt") lines"
"$build/bench/text_edit_bench" steps "$work/big.txt" "$work/small.txt"
"$build/bench/text_edit_bench" longline 50
"$build/bench/text_edit_bench" longline 50 "$work/line.txt"
"$build/bench/text_edit_bench" firstkey 50 "$work/first.txt"
"$build/bench/text_edit_bench" utf8end 50 "$work/utf8.txt"
