#!/bin/sh
# Regenerates every picture in res/textures/ (and manifest-lines.txt) from
# the generator sources in this folder. The demo's build does not run this;
# the JPEGs are committed. Output is byte-identical on every run.
# Needs: g++, libturbojpeg0-dev, libfreetype-dev, fonts-dejavu-core.
# Extra arguments limit the run to the named files (e.g. MAP.JPG, SPLASH.TGA).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$root/res/textures"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$out"
g++ -std=c++17 -O2 -Wall -Wextra -I/usr/include/freetype2 -o "$work/textures" \
    "$here"/*.cpp -lfreetype -lturbojpeg
"$work/textures" "$out" "$@"
echo "== $(ls "$out"/*.JPG "$out"/*.TGA | wc -l) pictures, $(cat "$out"/*.JPG "$out"/*.TGA | wc -c) bytes in $out"
