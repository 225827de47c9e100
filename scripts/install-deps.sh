#!/usr/bin/env bash
# Installs everything the demo, its tests and its tools need, from Debian's
# packages only.  Safe to run again: it does nothing when all is in place.
# Package names given as arguments are installed as well.
set -euo pipefail
source "$(dirname "$0")/lib/apt.sh"

# The sanitizers' and libFuzzer's runtime of the clang that "clang" installs.
clang_version() { apt-cache depends clang 2>/dev/null | sed -n 's/^ *Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -1; }
clang=$(clang_version)
[ -n "$clang" ] || { update_package_lists && clang=$(clang_version); }   # no package lists yet
[ -n "$clang" ] || { echo "apt knows no clang-N package behind clang" >&2; exit 1; }

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libmpg123-dev libgl-dev libglu1-mesa-dev libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri
  libstb-dev libturbojpeg0-dev
  libgtest-dev libbenchmark-dev clang "libclang-rt-$clang-dev"
  libx11-dev libxext-dev
  xvfb xfonts-base xdotool x11-utils imagemagick
  ffmpeg lame sox
  libfreetype-dev fonts-dejavu-core
  libgmock-dev
  "$@"
)

install_packages "${packages[@]}"
