# Sourced: debian_source DIR PACKAGE... downloads the original source
# tarballs of Debian source packages into DIR, for a package whose tarball
# is not there yet.  The deb-src entry comes from the machine's own apt
# configuration (the mirror, release and keyring of its first Debian "deb"
# source with a main component, of a release without a suffix such as
# -updates or -security, one-line or deb822 style) and is kept in a private
# folder under DIR, so the system's apt configuration stays as it is.

# The machine's Debian source as "MIRROR<tab>RELEASE<tab>KEYRING".
machine_debian_source() {
  local files=() file
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

debian_source() {
  local dir=$1 missing=() package source_line mirror suite keyring
  shift
  for package in "$@"; do
    ls "$dir/${package}_"*.orig.tar.* >/dev/null 2>&1 || missing+=("$package")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  source_line=$(machine_debian_source) || true
  if [ -z "$source_line" ]; then
    echo "no Debian source with a main component in this machine's apt configuration" >&2
    return 1
  fi
  IFS=$'\t' read -r mirror suite keyring <<<"$source_line"
  mkdir -p "$dir/apt/lists/partial"
  {
    echo "Types: deb-src"
    echo "URIs: $mirror"
    echo "Suites: $suite"
    echo "Components: main"
    [ -z "$keyring" ] || echo "Signed-By: $keyring"
  } >"$dir/apt/debian-src.sources"
  local apt_options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$dir/apt"
                     -o Dir::State::Lists="$dir/apt/lists" -o Debug::NoLocking=1)
  (
    cd "$dir"
    apt-get -q "${apt_options[@]}" update >/dev/null
    # A missing signature file makes apt-get fail after the tarballs arrived:
    # the tarballs are what counts.
    apt-get -q "${apt_options[@]}" source --download-only "${missing[@]}" >/dev/null 2>&1 || true
  )
  for package in "${missing[@]}"; do
    ls "$dir/${package}_"*.orig.tar.* >/dev/null 2>&1 || { echo "no source tarball of $package arrived" >&2; return 1; }
  done
}
