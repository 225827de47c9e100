#!/usr/bin/env bash
# Builds libmpg123 and TurboJPEG for WebAssembly with Emscripten, statically,
# from Debian's own source packages, so that the browser build decodes the
# music and the pictures with the same code as Linux and Windows.
# Everything goes under DIR (default build-web/deps): src/ holds the fetched
# sources, prefix/ the headers and libraries.  Does nothing when the
# libraries are already there, so a later build reuses them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=${1:-$root/build-web/deps}
source "$root/scripts/lib/debian-source.sh"
source "$root/scripts/lib/dependencies.sh"
dependencies_built "$deps/prefix" && exit 0
source "$root/scripts/lib/emscripten.sh"
use_debian_node_modules

# WebAssembly has none of libmpg123's x86 decoders: the portable floating
# point one decodes every sample within 1 of them.  config.sub knows no wasm
# triplet, so configure is told it builds for a 32-bit Linux.
web_mpg123() {
  build_mpg123 "$deps/src" "$deps/prefix" emconfigure --host=i686-pc-linux-gnu --with-cpu=generic_fpu --disable-modules
}
# SIZE_T given: CMake's type-size check reports nonsense under Emscripten.
web_turbojpeg() {
  build_turbojpeg "$deps/src" "$deps/prefix" emcmake cmake -DCMAKE_BUILD_TYPE=Release -DSIZE_T=4
}
debian_source "$deps/src" mpg123 libjpeg-turbo
side_by_side web_mpg123 web_turbojpeg
