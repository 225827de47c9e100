#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh, which runs lintian) and
# checks what a user gets: every promised file in place, icons of the right
# sizes, a Depends line that covers every library the program links, the
# unpacked program running headless, a valid menu entry and a manual page
# that renders without warnings.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
scripts/package.sh

fail() { echo "test-package: $*" >&2; exit 1; }
deb=$(ls -t dist/quittenhain_*_amd64.deb | head -n 1)
version=$(dpkg-deb --field "$deb" Version)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
echo "== contents of $deb"
dpkg-deb --contents "$deb" | awk '{ print $1, $6 }'

program=$root/usr/games/quittenhain
entry=$root/usr/share/applications/quittenhain.desktop
page=$root/usr/share/man/man6/quittenhain.6.gz
for file in "$program" "$entry" "$page" "$root"/usr/share/doc/quittenhain/{README.md,copyright,changelog.gz}; do
  [ -f "$file" ] || fail "missing ${file#"$root"}"
done
for size in 48 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/quittenhain.png
  file -b "$icon" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" || fail "$icon is not a ${size}x$size RGBA PNG"
done
file -b "$root/usr/share/icons/hicolor/scalable/apps/quittenhain.svg" | grep -q "SVG" || fail "no scalable icon"

# dpkg -x installs no dependencies: check that Depends names the package of
# every library the program links, and that apt could satisfy it.
depends=$(dpkg-deb --field "$deb" Depends)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
depended=$(tr ',|' '\n\n' <<<"$depends" | awk '{ print $1 }')
for library in $(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }'); do
  owner=$(dpkg -S "*/$multiarch/$library" | head -n 1 | cut -d: -f1)
  grep -qx "$owner" <<<"$depended" || fail "$library ($owner) is missing from Depends: $depends"
done
apt-get install --simulate --quiet "./$deb" >/dev/null || fail "apt cannot satisfy the package's dependencies"

[ "$("$program" --version)" = "Quittenhain ${version%%-*}" ] || fail "--version says: $("$program" --version)"
status=0
"$program" --headless --until 2 2>/dev/null || status=$?
[ "$status" -eq 0 ] || fail "the unpacked program's headless run ended with status $status"

desktop-file-validate "$entry" || fail "the menu entry is not valid"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page renders with warnings: $warnings"
echo "== package checked in $((SECONDS - start)) s"
