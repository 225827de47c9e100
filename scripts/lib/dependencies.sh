# Sourced (after debian-source.sh): the libraries the demo decodes with,
# built statically from Debian's source packages for another toolchain than
# the machine's (Windows, WebAssembly, a fuzzer's instrumentation), so that
# every build decodes with the same code.
#
# logged LOG COMMAND... runs the command with its output added to LOG; when
# it fails, shows the end of LOG and fails.
logged() {
  local log=$1
  shift
  "$@" >>"$log" 2>&1 && return 0
  tail -n 40 "$log" >&2
  echo "failed: $* (log $log)" >&2
  return 1
}

# side_by_side FIRST SECOND runs the two commands (functions of the caller,
# usually) at the same time and fails when either fails.  Each runs in a
# background shell of its own, where a failing command inside it still ends
# it (in a condition it would not).  The two libraries' configure steps each
# run one check after another and leave the second core idle: built side by
# side, they take about the time of the longer one.
side_by_side() {
  "$1" &
  local first=$!
  "$2" &
  local second=$! status=0
  wait "$first" || status=$?
  wait "$second" || status=$?
  return "$status"
}

# dependencies_built PREFIX: whether libmpg123 and TurboJPEG are both in
# PREFIX/lib already.
dependencies_built() { [ -f "$1/lib/libmpg123.a" ] && [ -f "$1/lib/libturbojpeg.a" ]; }

# build_turbojpeg DIR PREFIX CONFIGURE...
# builds the static TurboJPEG library from Debian's source package
# (libjpeg-turbo) with the toolchain that CONFIGURE gives: the command that
# configures a CMake project, with its own options (a cross toolchain file,
# emcmake, a compiler and its flags).  The sources and the build go under DIR,
# the library and turbojpeg.h into PREFIX/lib and PREFIX/include; the build's
# output into DIR/libjpeg-turbo.log.  No SIMD: its assembly needs nasm and
# exists for neither Windows-on-MinGW without it nor WebAssembly, and a
# fuzzer cannot see into it.
build_turbojpeg() {
  local dir=$1 prefix=$2 tarball
  shift 2
  debian_source "$dir" libjpeg-turbo
  tarball=$(ls "$dir"/libjpeg-turbo_*.orig.tar.gz | head -1)
  echo "== TurboJPEG (from $(basename "$tarball")) =="
  rm -rf "$dir/libjpeg-turbo" "$dir/libjpeg-turbo.log" && mkdir -p "$dir/libjpeg-turbo" "$prefix/lib" "$prefix/include"
  tar -xf "$tarball" -C "$dir/libjpeg-turbo" --strip-components=1
  logged "$dir/libjpeg-turbo.log" "$@" -S "$dir/libjpeg-turbo" -B "$dir/libjpeg-turbo/build" -DENABLE_SHARED=OFF \
    -DWITH_TURBOJPEG=ON -DWITH_SIMD=OFF -DCMAKE_INSTALL_PREFIX="$prefix" || return 1
  logged "$dir/libjpeg-turbo.log" cmake --build "$dir/libjpeg-turbo/build" --target turbojpeg-static -j2 || return 1
  cp "$dir/libjpeg-turbo/build/libturbojpeg.a" "$prefix/lib/"
  cp "$dir/libjpeg-turbo/turbojpeg.h" "$prefix/include/"
}

# build_mpg123 DIR PREFIX WRAPPER CONFIGURE-OPTION... builds libmpg123 from
# Debian's source package (mpg123) with its configure script and make, both
# run through WRAPPER ("env" for none, emconfigure for Emscripten), the given
# options added to the configure's own (static, no output modules).  Sources
# and build under DIR, libmpg123.a and its headers into PREFIX/lib and
# PREFIX/include, the build's output into DIR/mpg123.log.
build_mpg123() {
  local dir=$1 prefix=$2 wrapper=$3 tarball
  shift 3
  debian_source "$dir" mpg123
  tarball=$(ls "$dir"/mpg123_*.orig.tar.bz2 | head -1)
  echo "== libmpg123 (from $(basename "$tarball")) =="
  rm -rf "$dir/mpg123" "$dir/mpg123.log" && mkdir -p "$dir/mpg123" "$prefix/lib" "$prefix/include"
  tar -xf "$tarball" -C "$dir/mpg123" --strip-components=1
  (
    cd "$dir/mpg123"
    logged "$dir/mpg123.log" "$wrapper" ./configure --disable-shared --enable-static --with-audio=dummy \
      --with-default-audio=dummy --prefix="$prefix" "$@" &&
      logged "$dir/mpg123.log" "$wrapper" make -j2 src/libmpg123/libmpg123.la
  ) || return 1
  cp "$dir/mpg123/src/libmpg123/.libs/libmpg123.a" "$prefix/lib/"
  cp "$dir/mpg123/src/libmpg123/mpg123.h" "$dir/mpg123/src/libmpg123/fmt123.h" "$prefix/include/"
}
