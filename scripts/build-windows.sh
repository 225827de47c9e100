#!/usr/bin/env bash
# Cross-compiles the Windows build on Debian with MinGW-w64 and writes
# dist/quittenhain-<version>-windows-x64.zip (quittenhain.exe and README.txt).
# Installs what it needs with apt-get; safe to run again.  The build goes
# to build-windows/ (QH_WINDOWS_BUILD_DIR), libmpg123 and TurboJPEG are
# built from Debian's sources into build-windows/deps/.  Extra arguments go
# to cmake (for example -DQH_TESTS=OFF).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QH_WINDOWS_BUILD_DIR:-$root/build-windows}
[[ "$build" = /* ]] || build="$root/$build"

source "$root/scripts/lib/apt.sh"
install_packages g++-mingw-w64-x86-64-posix cmake make bzip2 zip googletest libstb-dev wine wine64 xvfb xdotool \
  icoutils unzip

"$root/scripts/windows-deps.sh" "$build/deps"

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQH_WINDOWS_DEPS="$build/deps/prefix" -DQH_BENCHMARKS=OFF "$@" >/dev/null
cmake --build "$build" -j2

# The executable must run on any Windows: it may import only system DLLs.
allowed='^(kernel32|user32|gdi32|opengl32|glu32|winmm|shlwapi|shell32|advapi32|ole32|msvcrt)\.dll$'
imports=$(x86_64-w64-mingw32-objdump -p "$build/quittenhain.exe" | sed -n 's/^\s*DLL Name: //p')
for dll in $imports; do
  if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
    echo "quittenhain.exe imports $dll, which is no system DLL" >&2
    exit 1
  fi
done

mkdir -p "$root/dist"
# The project's one version number, as CMake read it from CMakeLists.txt.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $build/CMakeCache.txt" >&2; exit 1; }
package="$root/dist/quittenhain-$version-windows-x64.zip"
stage="$build/zip"
rm -rf "$stage" && mkdir -p "$stage"
cp "$build/quittenhain.exe" "$stage/"
x86_64-w64-mingw32-strip "$stage/quittenhain.exe"
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/scripts/windows-readme.txt" > "$stage/README.txt"
rm -f "$package"
(cd "$stage" && zip -q -X "$package" quittenhain.exe README.txt)
echo "Wrote $package ($(stat -c %s "$package") bytes); imports: $(echo $imports)"
