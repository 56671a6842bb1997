#!/usr/bin/env bash
# Starts the built program; without a display it says how to run it anyway.
set -euo pipefail
build=${1:-build}; shift || true
exe="$build/src/app/tarnwick"
if [ ! -x "$exe" ]; then
  exec "$build/src/tools/tarnwick-grep" --help
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "tarnwick: no display found (DISPLAY is not set); run it under a display, e.g. 'xvfb-run -a $exe'." >&2
  exit 1
fi
exec "$exe" "$@"
