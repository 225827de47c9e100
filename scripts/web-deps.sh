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
prefix=$deps/prefix
if [ -f "$prefix/lib/libmpg123.a" ] && [ -f "$prefix/lib/libturbojpeg.a" ]; then
  exit 0
fi
# Debian's emcc runs its JavaScript tools with the machine's node; they need
# Debian's node modules (acorn) on the path.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
mkdir -p "$deps/src" "$prefix/lib" "$prefix/include"
"$root/scripts/debian-source.sh" "$deps/src" mpg123 libjpeg-turbo
cd "$deps/src"
mpg123_tar=$(ls mpg123_*.orig.tar.bz2 | head -1)
jpeg_tar=$(ls libjpeg-turbo_*.orig.tar.gz | head -1)

# WebAssembly has none of libmpg123's x86 decoders: the portable floating
# point one decodes every sample within 1 of them.  config.sub knows no wasm
# triplet, so configure is told it builds for a 32-bit Linux.
echo "== libmpg123 for WebAssembly (from $mpg123_tar) =="
rm -rf mpg123 && mkdir mpg123 && tar -xf "$mpg123_tar" -C mpg123 --strip-components=1
(
  cd mpg123
  emconfigure ./configure -q --host=i686-pc-linux-gnu --disable-shared --enable-static \
    --with-cpu=generic_fpu --with-audio=dummy --with-default-audio=dummy \
    --disable-modules --prefix="$prefix" >/dev/null
  emmake make -s -j2 src/libmpg123/libmpg123.la >/dev/null
  cp src/libmpg123/.libs/libmpg123.a "$prefix/lib/"
  cp src/libmpg123/mpg123.h src/libmpg123/fmt123.h "$prefix/include/"
)

# SIZE_T given: CMake's type-size check reports nonsense under Emscripten.
echo "== TurboJPEG for WebAssembly (from $jpeg_tar) =="
rm -rf libjpeg-turbo && mkdir libjpeg-turbo && tar -xf "$jpeg_tar" -C libjpeg-turbo --strip-components=1
emcmake cmake -S libjpeg-turbo -B libjpeg-turbo/build -DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF \
  -DWITH_TURBOJPEG=ON -DWITH_SIMD=OFF -DSIZE_T=4 -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
cmake --build libjpeg-turbo/build --target turbojpeg-static -j2 >/dev/null
cp libjpeg-turbo/build/libturbojpeg.a "$prefix/lib/"
cp libjpeg-turbo/turbojpeg.h "$prefix/include/"
