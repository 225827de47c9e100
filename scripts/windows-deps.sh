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

# A private source list, so the system's apt configuration stays as it is:
# the source packages come from the mirror, release and keyring of the
# machine's own Debian binary source (the first "deb" entry of a release
# without a suffix such as -updates or -security, one-line or deb822 style).
machine_source() {
  local files=()
  [ -f /etc/apt/sources.list ] && files+=(/etc/apt/sources.list)
  for file in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && files+=("$file")
  done
  [ ${#files[@]} -gt 0 ] || return 1
  awk '
    function consider(types, uris, suites, components, keyring,   n, i, s, u) {
      if (found || (" " types " ") !~ / deb / || (" " components " ") !~ / main /) return
      n = split(suites, s, " ")
      for (i = 1; i <= n; i++) if (s[i] !~ /-/ && s[i] !~ /\//) {
        split(uris, u, " ")
        print u[1] "\t" s[i] "\t" keyring; found = 1; return
      }
    }
    function stanza() { consider(types, uris, suites, components, keyring); types = uris = suites = components = keyring = "" }
    FNR == 1 { stanza() }
    /^[ \t]*#/ { next }
    FILENAME ~ /\.sources$/ {
      if ($0 ~ /^[ \t]*$/) { stanza(); next }
      field = tolower($1); value = $0; sub(/^[^:]*:[ \t]*/, "", value)
      if (field == "types:") types = value; else if (field == "uris:") uris = value
      else if (field == "suites:") suites = value; else if (field == "components:") components = value
      else if (field == "signed-by:") keyring = value
      next
    }
    $1 == "deb" {
      keyring = ""; i = 2
      if ($2 ~ /^\[/) {
        for (; i <= NF; i++) { if ($i ~ /^\[?signed-by=/) { keyring = $i; sub(/^\[?signed-by=/, "", keyring); sub(/\]$/, "", keyring) } if ($i ~ /\]$/) { i++; break } }
      }
      rest = ""; for (j = i + 2; j <= NF; j++) rest = rest " " $j
      consider("deb", $i, $(i + 1), rest, keyring); keyring = ""
    }
    END { stanza() }
  ' "${files[@]}"
}
source_line=$(machine_source) || true
[ -n "$source_line" ] || { echo "no Debian source with a main component in this machine's apt configuration" >&2; exit 1; }
IFS=$'\t' read -r mirror suite keyring <<<"$source_line"
{
  echo "Types: deb-src"
  echo "URIs: $mirror"
  echo "Suites: $suite"
  echo "Components: main"
  [ -z "$keyring" ] || echo "Signed-By: $keyring"
} > "$deps/apt/debian-src.sources"
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
