#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG. The PNGs are kept
# in the repository, so a build needs no renderer; run this after changing
# the SVG (needs rsvg-convert from the Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
svg=org.tarnwick.Tarnwick.svg
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$svg" -o "$size.png"
done
