#!/usr/bin/env bash
# Runs the browser tests: Debian's Chromium, headless, driven by
# puppeteer-core (installed from the lock file into tests/web/node_modules,
# nothing global) under node's own test runner.
#   tests/web/run.sh [--on-mesa] [TEST FILE...]   (default: every tests/web/*.test.mjs)
# Needs the web build (scripts/build-web.sh) and the native build's
# compare_golden and decode_music (QH_BUILD_DIR, default build/), built here.
# --on-mesa: Chromium in a window on an Xvfb display of its own, WebGL 2 on
# Mesa through ANGLE rather than on SwiftShader (QH_WEB_GL=desktop).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

if [ "${1:-}" = "--on-mesa" ]; then
  shift
  command -v Xvfb >/dev/null || scripts/install-deps.sh xvfb
  source scripts/lib/xvfb.sh
  start_xvfb
  xvfb=$xvfb_pid
  trap 'kill "$xvfb" 2>/dev/null || true' EXIT
  export QH_WEB_GL=desktop
fi

missing=()
command -v chromium >/dev/null || missing+=(chromium)
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
# Checked by command rather than by package: node and npm may come from
# elsewhere than Debian's packages.
if [ ${#missing[@]} -gt 0 ]; then
  scripts/install-deps.sh "${missing[@]}"
fi

build_dir=${QH_BUILD_DIR:-build}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  QH_BUILD_DIR="$build_dir" scripts/build.sh
fi
cmake -S . -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target compare_golden decode_music >/dev/null
export QH_COMPARE_GOLDEN="$(cd "$build_dir" && pwd)/tests/compare_golden"
export QH_DECODE_MUSIC="$(cd "$build_dir" && pwd)/tests/decode_music"

cd tests/web
npm ci --no-audit --no-fund --loglevel=error
if [ $# -eq 0 ]; then set -- *.test.mjs; fi
# One file at a time: each plays the demo in SwiftShader, which takes both
# cores.  The music test loads the module in node itself, whose own fetch
# would take the .wasm's file path for an address.
node --no-experimental-fetch --test --test-concurrency=1 "$@"
