#!/usr/bin/env bash
# Builds the Windows executable and its tests (scripts/build-windows.sh) and
# runs them under Wine on a virtual X display: the unit and whole-run tests
# through CTest, then the desktop smoke test.  The Wine prefix is made once
# per run in the build folder, quietly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QH_WINDOWS_BUILD_DIR:-$root/build-windows}
[[ "$build" = /* ]] || build="$root/$build"
"$root/scripts/build-windows.sh"

# A display of our own.
source "$root/scripts/lib/xvfb.sh"
start_xvfb
xvfb=$xvfb_pid
export WINEPREFIX="$build/wine" WINEDEBUG=-all
# No Mono or Gecko prompts; the ALSA driver's complaints about a missing
# sound card are Wine's, not ours.
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv=d"
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

started=$(date +%s)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # wine64 alone lacks the 32-bit helpers, so wineboot reports a failure
  # after making a usable prefix: the prefix's registry is what counts.
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w   # the registry is written when the server ends
  [ -f "$WINEPREFIX/system.reg" ] || { echo "cannot make a Wine prefix in $WINEPREFIX" >&2; exit 1; }
fi
wineserver -p 60   # one server for all the test processes
# Wine's own services start with the first program and stay; started here,
# they do not hold CTest's output pipes open after the tests.
wine cmd /c exit </dev/null >/dev/null 2>&1
echo "== Wine prefix ready in $(( $(date +%s) - started )) s =="

echo "== the zip's README.txt against --help =="
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip="$root/dist/quittenhain-$version-windows-x64.zip"
readme=$(unzip -p "$zip" README.txt | tr -d '\r')
help=$(wine "$build/quittenhain.exe" --help </dev/null 2>/dev/null | tr -d '\r')
echo "$readme" | grep -q "^Version $version\.$" || { echo "README.txt does not give version $version" >&2; exit 1; }
for option in $(echo "$readme" | grep -o -- '--[a-z][-a-z]*' | sort -u); do
  echo "$help" | grep -q -- "$option" || { echo "README.txt offers $option, which --help does not list" >&2; exit 1; }
done

echo "== Windows tests under Wine =="
(cd "$build" && ctest --output-on-failure -j2)

echo "== Windows desktop smoke test under Wine =="
"$root/tests/win32/desktopSmokeWine.sh" "$build/quittenhain.exe"
echo "== Windows build tested in $(( $(date +%s) - started )) s under Wine =="
