#!/usr/bin/env bash
# Regenerates the reference pictures of the scene parts under tests/golden/
# from a headless capture.  Run it on purpose only, after a deliberate change
# of the scenes, their textures or their drawing, and look at the pictures
# before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
binary="${1:-build/quittenhain}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# part 2 before its first flash, part 3 mid-flight, part 9 in the streets
for entry in "part2 18.5 18.6 00037" "part3 50 50.1 00100" "part9 200 200.1 00400"; do
    set -- $entry
    "$binary" --capture "$work/$1" --fps 2 --from "$2" --until "$3" >/dev/null 2>&1
    cp "$work/$1/frame$4.png" "tests/golden/$1.png"
    echo "tests/golden/$1.png"
done
