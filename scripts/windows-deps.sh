#!/usr/bin/env bash
# Builds libmpg123 and TurboJPEG for 64-bit Windows, statically, from
# Debian's own source packages, so that the Windows build decodes the music
# and the pictures with the same code as the Linux one.  Everything goes
# under DIR (default build-windows/deps): src/ holds the fetched sources,
# prefix/ the installed headers and libraries.  Does nothing when the
# libraries are already there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=${1:-$root/build-windows/deps}
host=x86_64-w64-mingw32
source "$root/scripts/lib/debian-source.sh"
source "$root/scripts/lib/dependencies.sh"
dependencies_built "$deps/prefix" && exit 0
windows_mpg123() {
  build_mpg123 "$deps/src" "$deps/prefix" env --host=$host CC=$host-gcc-posix --disable-components --enable-libmpg123 \
    --with-cpu=x86-64
}
windows_turbojpeg() {
  build_turbojpeg "$deps/src" "$deps/prefix" cmake -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release
}
debian_source "$deps/src" mpg123 libjpeg-turbo
side_by_side windows_mpg123 windows_turbojpeg
