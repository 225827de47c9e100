#!/usr/bin/env bash
# Configures and builds into build/ (or $QH_BUILD_DIR), passing extra CMake arguments on.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${QH_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=${QH_BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
