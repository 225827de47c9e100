#!/usr/bin/env bash
# Renders the reference frames listed in tests/golden/frames.txt with the
# current build and overwrites tests/golden/NAME.png.  Run it only when a
# picture was changed on purpose, and look at every frame before committing.
# With optipng installed the PNGs are recompressed (losslessly) to about
# three quarters of their size before they are committed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
list=$(grep -v '^#' tests/golden/frames.txt | awk 'NF >= 2 { printf "%s%s", sep, $2; sep = "," }')
build/quittenhain --capture "$work" --fps 60 --frames "$list" 2>/dev/null
grep -v '^#' tests/golden/frames.txt | while read -r name frame _; do
  [ -n "$name" ] || continue
  cp "$work/$(printf 'frame%05d.png' "$frame")" "tests/golden/$name.png"
  if command -v optipng >/dev/null; then optipng -o2 -quiet "tests/golden/$name.png"; fi
  echo "tests/golden/$name.png"
done
