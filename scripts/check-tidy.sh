#!/usr/bin/env bash
# Runs clang-tidy (the naming rules of .clang-tidy) over the lines of C++
# that this branch changed against its merge base with main, so that a
# change keeps to the rules without the whole tree having to be clean at
# once. Needs the build tree's compile_commands.json; no network.
#   scripts/check-tidy.sh [BUILD_DIR] [BASE_REF]
# Exits 1 when a changed line breaks a rule, 0 when none does (or when
# clang-tidy is missing: then it says so and checks nothing).
set -euo pipefail

build=${1:-build}
base_ref=${2:-main}
cd "$(dirname "$0")/.."

if ! command -v clang-tidy >/dev/null 2>&1; then
  echo "check-tidy: clang-tidy is not installed; the naming check is skipped" \
       "(scripts/install-deps.sh installs it)."
  exit 0
fi
if [ ! -f "$build/compile_commands.json" ]; then
  echo "check-tidy: $build/compile_commands.json is missing; configure the build first." >&2
  exit 1
fi
if ! base=$(git merge-base HEAD "$base_ref" 2>/dev/null); then
  echo "check-tidy: no merge base with $base_ref; the naming check is skipped."
  exit 0
fi

# The changed lines of each changed C++ file (committed and not), as
# clang-tidy's line filter.
changes=$(git diff -U0 --no-color "$base" -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
if [ -z "$changes" ]; then
  echo "check-tidy: no C++ line changed against $base_ref."
  exit 0
fi
read -r -d '' filter_script <<'PY' || true
import json, re, sys
ranges, path = {}, None
for line in sys.stdin:
    if line.startswith('+++ '):
        name = line[4:].strip()
        path = None if name == '/dev/null' else name[2:]
    m = re.match(r'@@ -\S+ \+(\d+)(?:,(\d+))? @@', line)
    if m and path:
        start, count = int(m.group(1)), int(m.group(2) or '1')
        if count: ranges.setdefault(path, []).append([start, start + count - 1])
print(json.dumps([{"name": p, "lines": r} for p, r in ranges.items()]))
for p in ranges: print(p, file=sys.stderr)
PY
files_list=$(mktemp)
trap 'rm -f "$files_list"' EXIT
filter=$(printf '%s\n' "$changes" | python3 -c "$filter_script" 2>"$files_list")

# Each changed source file, and for a changed header the source file of
# the same name beside it (or under src/ for a test's header), is compiled.
sources=()
while read -r path; do
  [ -n "$path" ] || continue
  case "$path" in
    *.cpp) candidate=$path ;;
    *.h) candidate=${path%.h}.cpp ;;
  esac
  [ -f "$candidate" ] && grep -q "\"file\": \"[^\"]*/$candidate\"" "$build/compile_commands.json" &&
    sources+=("$candidate")
done < "$files_list"
if [ ${#sources[@]} -eq 0 ]; then
  echo "check-tidy: the changed lines lie in no file of the build; nothing to check."
  exit 0
fi
mapfile -t sources < <(printf '%s\n' "${sources[@]}" | sort -u)

echo "check-tidy: ${#sources[@]} file(s) changed against $base_ref"
output=$(printf '%s\n' "${sources[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet --line-filter="$filter" 2>/dev/null || true)
if printf '%s\n' "$output" | grep -q 'warning:'; then
  printf '%s\n' "$output" | grep -A2 'warning:' >&2
  echo "check-tidy: changed lines break the naming rules of .clang-tidy (above)." >&2
  exit 1
fi
echo "check-tidy: the changed lines keep to .clang-tidy."
