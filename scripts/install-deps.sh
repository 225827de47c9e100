#!/usr/bin/env bash
# Installs everything the demo, its tests and its tools need, from Debian's
# packages only.  Safe to run again: it does nothing when all is in place.
# Package names given as arguments are installed as well.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libmpg123-dev libgl-dev libglu1-mesa-dev libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri
  libstb-dev libturbojpeg0-dev
  libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
  libx11-dev libxext-dev
  xvfb xfonts-base xdotool x11-utils imagemagick
  ffmpeg lame sox
  libfreetype-dev fonts-dejavu-core
  libgmock-dev
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# Other installs may hold the package lock for a while.
$sudo apt-get -o DPkg::Lock::Timeout=600 update -q
$sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
