#!/bin/sh
# Random editing sessions, longer than the test run's: every step of the
# editing layer played at random, then undone back to the loaded bytes.
#   bench/fuzz-edits.sh [BUILD_DIR] [SEED] [STEPS] [SEEDS]
# plays STEPS steps for each of SEEDS seeds from SEED on.
set -eu
build=${1:-build}
seed=${2:-1}
steps=${3:-200000}
seeds=${4:-4}
cmake --build "$build" --target edit_fuzz >/dev/null
i=0
while [ "$i" -lt "$seeds" ]; do
    "$build/bench/edit_fuzz" $((seed + i)) "$steps"
    i=$((i + 1))
done
