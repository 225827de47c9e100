#!/bin/sh
# Draws the program's icon (the splash's quince) into packaging/icons/ at the
# sizes the menu entry uses, and into packaging/windows/quittenhain.ico at
# the sizes Windows shows (16, 32, 48 and 256 pixels). The demo's build does not run this; the PNGs are
# committed. Needs what make-textures.sh needs, and libstb-dev.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++17 -O2 -Wall -Wextra -I/usr/include/freetype2 -o "$work/textures" \
    "$here"/*.cpp -lfreetype -lturbojpeg
"$work/textures" --icons "$root/packaging/icons"
"$work/textures" --windows-icon "$root/packaging/windows/quittenhain.ico"
find "$root/packaging/icons" "$root/packaging/windows/quittenhain.ico" -type f | sort
