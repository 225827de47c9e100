# Sourced: install_packages PACKAGE... installs with apt-get the Debian
# packages of the list that are not installed yet (through sudo unless run
# as root), and does nothing when all are there.  Other installs may hold
# the package lock for a while: apt-get waits for it.
# update_package_lists fetches apt's package lists.
apt_as_root() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -q "$@"
}

update_package_lists() { apt_as_root update; }

install_packages() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  update_package_lists
  apt_as_root install -y --no-install-recommends "${missing[@]}"
}
