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
prefix=$deps/prefix
host=x86_64-w64-mingw32
if [ -f "$prefix/lib/libmpg123.a" ] && [ -f "$prefix/lib/libturbojpeg.a" ]; then
  exit 0
fi
mkdir -p "$deps/src" "$deps/apt/lists/partial" "$prefix/lib" "$prefix/include"

# A private source list (the machine's own Debian mirror and keyring), so
# the system's apt configuration stays as it is.
cat > "$deps/apt/debian-src.sources" <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt_options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$deps/apt"
             -o Dir::State::Lists="$deps/apt/lists" -o Debug::NoLocking=1)
cd "$deps/src"
if ! ls mpg123_*.orig.tar.* >/dev/null 2>&1 || ! ls libjpeg-turbo_*.orig.tar.* >/dev/null 2>&1; then
  apt-get -q "${apt_options[@]}" update >/dev/null
  # A missing signature file makes apt-get fail after the tarballs arrived:
  # the tarballs are what counts.
  apt-get -q "${apt_options[@]}" source --download-only mpg123 libjpeg-turbo >/dev/null 2>&1 || true
fi
mpg123_tar=$(ls mpg123_*.orig.tar.bz2 | head -1)
jpeg_tar=$(ls libjpeg-turbo_*.orig.tar.gz | head -1)

echo "== libmpg123 for Windows (from $mpg123_tar) =="
rm -rf mpg123 && mkdir mpg123 && tar -xf "$mpg123_tar" -C mpg123 --strip-components=1
(
  cd mpg123
  ./configure -q --host=$host CC=$host-gcc-posix --disable-shared --enable-static --disable-components \
    --enable-libmpg123 --with-cpu=x86-64 --with-audio=dummy --with-default-audio=dummy \
    --prefix="$prefix" >/dev/null
  make -s -j2 src/libmpg123/libmpg123.la >/dev/null
  cp src/libmpg123/.libs/libmpg123.a "$prefix/lib/"
  cp src/libmpg123/mpg123.h src/libmpg123/fmt123.h "$prefix/include/"
)

echo "== TurboJPEG for Windows (from $jpeg_tar) =="
rm -rf libjpeg-turbo && mkdir libjpeg-turbo && tar -xf "$jpeg_tar" -C libjpeg-turbo --strip-components=1
cmake -S libjpeg-turbo -B libjpeg-turbo/build -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=ON -DWITH_SIMD=OFF \
  -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
cmake --build libjpeg-turbo/build --target turbojpeg-static -j2 >/dev/null
cp libjpeg-turbo/build/libturbojpeg.a "$prefix/lib/"
cp libjpeg-turbo/turbojpeg.h "$prefix/include/"
