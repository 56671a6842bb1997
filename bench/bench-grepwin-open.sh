#!/usr/bin/env bash
# Times the opening of a Grep window whose settings file holds 5,000 items
# in the search-text history (and 500 in each of the other two), offscreen.
# The window reads the settings file once per list, so this stays far below
# a tenth of a second.
#
#   bench/bench-grepwin-open.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
items=${TARNWICK_BENCH_ITEMS:-5000}
cmake --build "$build" --target grepwin_open_bench >/dev/null
"$build/bench/grepwin_open_bench" --items "$items" --runs 5 2>/dev/null
