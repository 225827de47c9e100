#!/usr/bin/env bash
# Downloads the original source tarballs of Debian source packages into DIR:
#   scripts/debian-source.sh DIR PACKAGE...
# The deb-src entry is derived from the machine's own apt configuration (the
# URI, suite and keyring of its Debian archive) and kept in a private folder
# under DIR, so the system's apt configuration stays as it is.  Does nothing
# for a package whose tarball is already in DIR.
set -euo pipefail
dir=$1
shift
mkdir -p "$dir/apt/lists/partial"

missing=()
for package in "$@"; do
  ls "$dir/${package}_"*.orig.tar.* >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# The first Debian archive among the machine's sources (deb822 .sources
# files and one-line sources.list entries): its URI, first suite and keyring.
archive=$(
  {
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null || true
    echo
    sed -n 's/^deb \(\[[^]]*signed-by=\([^] ]*\)[^]]*\] \)\{0,1\}\([^ ]*\) \([^ ]*\) .*/Types: deb\nURIs: \3\nSuites: \4\nSigned-By: \2\n/p' \
      /etc/apt/sources.list 2>/dev/null || true
  } | awk -v RS= -F'\n' '
    {
      types = uri = suite = key = ""
      for (i = 1; i <= NF; i++) {
        if ($i ~ /^Types:/) types = $i
        else if ($i ~ /^URIs:/) { split($i, f, " "); uri = f[2] }
        else if ($i ~ /^Suites:/) { split($i, f, " "); suite = f[2] }
        else if ($i ~ /^Signed-By:/) { split($i, f, " "); key = f[2] }
      }
      if (types ~ /deb/ && uri ~ /\/debian\/?$/ && suite !~ /-/) { print uri, suite, key; exit }
    }')
[ -n "$archive" ] || { echo "no Debian archive among the machine's apt sources" >&2; exit 1; }
read -r uri suite key <<<"$archive"
{
  echo "Types: deb-src"
  echo "URIs: $uri"
  echo "Suites: $suite"
  echo "Components: main"
  [ -n "$key" ] && echo "Signed-By: $key"
} >"$dir/apt/debian-src.sources"

apt_options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$dir/apt"
             -o Dir::State::Lists="$dir/apt/lists" -o Debug::NoLocking=1)
cd "$dir"
apt-get -q "${apt_options[@]}" update >/dev/null
# A missing signature file makes apt-get fail after the tarballs arrived:
# the tarballs are what counts.
apt-get -q "${apt_options[@]}" source --download-only "${missing[@]}" >/dev/null 2>&1 || true
for package in "${missing[@]}"; do
  ls "${package}_"*.orig.tar.* >/dev/null 2>&1 || { echo "no source tarball of $package arrived" >&2; exit 1; }
done
