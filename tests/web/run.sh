#!/usr/bin/env bash
# Runs the browser tests in one browser engine, driven under node's own test
# runner: Debian's Chromium (the default) or Firefox ESR through
# puppeteer-core, WebKitGTK through WebDriver (selenium-webdriver); the
# drivers are installed from the lock file into tests/web/node_modules,
# nothing global.  Each engine is described in docs/web-engines.md.
#   tests/web/run.sh [--on-mesa] [--engine chromium|firefox|webkit] [TEST FILE...]
#   (default: every tests/web/*.test.mjs)
#   tests/web/run.sh [--on-mesa] [--engine ...] --speed
#   (the page's ?benchmark beside the native --benchmark: speed.mjs)
#   tests/web/run.sh [--on-mesa] --profile
#   (where the page's ?benchmark spends its time, per part: profile.mjs)
# Needs the web build (scripts/build-web.sh) and the native build's
# compare_golden and decode_music (QH_BUILD_DIR, default build/), built here.
# --on-mesa: Chromium in a window on an Xvfb display of its own, WebGL 2 on
# Mesa through ANGLE rather than on SwiftShader (QH_WEB_GL=desktop).
# WebKitGTK's MiniBrowser cannot run without a display: it gets one the same
# way.  Firefox runs headless, WebGL 2 on Mesa through EGL.
# QH_CHROMIUM_ARGS adds switches of one's own to every Chromium launched.
# The browsers play their sound into a PulseAudio server of this run's own,
# whose only output is a null sink (PULSE_SERVER; QH_SOUND_MONITOR names the
# sink's monitor, from which the tests record what was played).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

on_mesa=0
engine=chromium
speed=0
profile=0
while [ $# -gt 0 ]; do
  case $1 in
    --on-mesa) on_mesa=1; shift ;;
    --speed) speed=1; shift ;;
    --profile) profile=1; shift ;;
    --engine) engine=${2:-}; shift 2 ;;
    *) break ;;
  esac
done
case $engine in
  chromium) browser_packages=(chromium) ;;
  firefox) browser_packages=(firefox-esr) ;;
  # pulsesink: WebKit plays through GStreamer, which without it picks ALSA.
  webkit) browser_packages=(webkit2gtk-driver gstreamer1.0-pulseaudio) ;;
  *) echo "run.sh: --engine takes chromium, firefox or webkit, not '$engine'" >&2; exit 2 ;;
esac
if [ $on_mesa = 1 ] && [ "$engine" != chromium ]; then
  echo "run.sh: --on-mesa is Chromium's (the other engines run on Mesa already)" >&2; exit 2
fi

packages=()
for package in "${browser_packages[@]}" pulseaudio pulseaudio-utils xvfb; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || packages+=("$package")
done
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)
# node and npm are checked by command rather than by package: they may come
# from elsewhere than Debian's packages.
if [ ${#packages[@]} -gt 0 ]; then
  scripts/install-deps.sh "${packages[@]}"
fi

# What this script starts is stopped when it ends, however it ends.
scratch=$(mktemp -d)
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

if [ $on_mesa = 1 ] || [ "$engine" = webkit ]; then
  source scripts/lib/xvfb.sh
  start_xvfb 1600x1200x24
  started+=("$xvfb_pid")
  [ $on_mesa = 1 ] && export QH_WEB_GL=desktop
fi

# A sound server of this run's own: its socket and state in the scratch
# folder (never the user's session server), the null sink its default output.
mkdir -p "$scratch/pulse"
XDG_RUNTIME_DIR=$scratch/pulse HOME=$scratch/pulse pulseaudio -n --daemonize=no --exit-idle-time=-1 \
  --use-pid-file=no --disallow-module-loading \
  -L "module-native-protocol-unix socket=$scratch/pulse/socket auth-anonymous=1" \
  -L "module-null-sink sink_name=quiet rate=44100" \
  >"$scratch/pulse/log" 2>&1 &
started+=($!)
export PULSE_SERVER=unix:$scratch/pulse/socket QH_SOUND_MONITOR=quiet.monitor
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null 2>&1 || { echo "run.sh: the sound server did not start:" >&2; cat "$scratch/pulse/log" >&2; exit 1; }
export QH_WEB_ENGINE=$engine

build_dir=${QH_BUILD_DIR:-build}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  QH_BUILD_DIR="$build_dir" scripts/build.sh
fi
cmake -S . -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target compare_golden decode_music >/dev/null
build_path=$(cd "$build_dir" && pwd)
export QH_COMPARE_GOLDEN="$build_path/tests/compare_golden"
export QH_DECODE_MUSIC="$build_path/tests/decode_music"

cd tests/web
npm ci --no-audit --no-fund --loglevel=error
if [ $profile = 1 ]; then
  node profile.mjs
  exit
fi
if [ $speed = 1 ]; then
  cmake --build "$build_path" --target quittenhain >/dev/null
  QH_NATIVE_DEMO="$build_path/quittenhain" node speed.mjs
  exit
fi
if [ $# -eq 0 ]; then set -- *.test.mjs; fi
# One file at a time: each plays the demo in SwiftShader, which takes both
# cores.  The music test loads the module in node itself, whose own fetch
# would take the .wasm's file path for an address.
node --no-experimental-fetch --test --test-concurrency=1 "$@"
