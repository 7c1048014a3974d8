#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the program's mark verasco.svg into the PNG sizes of the hicolor icon theme, into
# hicolor/NxN/apps/verasco.png beside this script (or below the folder given as the first argument).
# Run it again after changing the SVG and commit the PNGs with it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here}
for size in 16 32 48 64 128 256; do
  mkdir -p "$out/hicolor/${size}x${size}/apps"
  rsvg-convert --width "$size" --height "$size" "$here/verasco.svg" -o "$out/hicolor/${size}x${size}/apps/verasco.png"
done
