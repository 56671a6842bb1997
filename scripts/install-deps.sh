#!/usr/bin/env bash
# Installs the Debian packages Tarnwick needs to build, test and run, when
# any is missing. Needs root for the install itself; prints what to install
# otherwise. Extra package names given as arguments (the benchmarks' tools)
# are installed along with them.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev poppler-utils
  fonts-liberation2 fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev file
  xvfb xdotool git clang-tidy patch
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
