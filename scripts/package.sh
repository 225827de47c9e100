#!/usr/bin/env bash
# Builds a Release and packs it as a Debian package,
# dist/quittenhain_<version>_amd64.deb, then checks it with lintian (errors
# fail the script; warnings are shown).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh dpkg-dev file lintian desktop-file-utils man-db

# Debian's hardening flags: stack protector, fortified string functions,
# read-only relocations bound at start.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
build_dir=build-release
QH_BUILD_DIR=$build_dir QH_BUILD_TYPE=Release scripts/build.sh -DQH_TESTS=OFF -DQH_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
rm -f "$build_dir"/quittenhain_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
mkdir -p dist
deb=$(ls "$build_dir"/quittenhain_*_amd64.deb)
cp "$deb" dist/
deb=dist/$(basename "$deb")

echo "== $deb"
dpkg-deb --field "$deb" Package Version Section Depends Recommends
echo "== lintian"
lintian --fail-on error --display-info "$deb"
