#!/usr/bin/env bash
# Runs every benchmark script in this folder against a build tree.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
for b in "$here"/bench-*.sh; do
  [ -e "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" "$build"
done
