#!/usr/bin/env bash
# Builds the scene generator and writes the four scene texts into res/scenes/.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$here/../.."
out="${1:-$root/res/scenes}"
build="$(mktemp -d)"
trap 'rm -rf "$build"' EXIT
g++ -std=c++17 -O2 -Wall -Wextra -o "$build/scene-generator" "$here/main.cpp" "$here/SceneText.cpp"
mkdir -p "$out"
"$build/scene-generator" "$out"
