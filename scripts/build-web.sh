#!/usr/bin/env bash
# Builds the demo for web browsers (WebAssembly, WebGL 2, Web Audio) with
# Debian's Emscripten and writes dist/quittenhain-web/: index.html, the
# module (quittenhain-HASH.js, quittenhain-HASH.wasm) and its compressed
# data file (quittenhain-HASH.data), which any static web server can serve
# (tools/pack/publish-web.mjs names them and tells the page).  Installs what
# it needs with apt-get; safe to run again.  The build goes to build-web/
# (QH_WEB_BUILD_DIR); libmpg123 and TurboJPEG are built from Debian's
# sources into build-web/deps/ once and reused.  Extra arguments go to cmake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QH_WEB_BUILD_DIR:-$root/build-web}
[[ "$build" = /* ]] || build="$root/$build"
dist=$root/dist/quittenhain-web

"$root/scripts/install-deps.sh" emscripten bzip2
command -v node >/dev/null || { echo "build-web.sh needs node (Emscripten's tools and the resource packer run on it)" >&2; exit 1; }
source "$root/scripts/lib/emscripten.sh"
use_debian_node_modules

"$root/scripts/web-deps.sh" "$build/deps"

emcmake cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQH_WEB_DEPS="$build/deps/prefix" \
  -DQH_TESTS=OFF -DQH_BENCHMARKS=OFF "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"

page=$root/platform/web/page/index.html
[ -f "$page" ] || { echo "build-web.sh: $page is missing: the folder would have no index.html" >&2; exit 1; }
node "$root/tools/pack/publish-web.mjs" "$build" "$page" "$dist"
echo "Wrote $dist ($(du -sh "$dist" | cut -f1))"
