#!/usr/bin/env bash
# Builds and runs the frame measure tests, then runs check-frames.sh on a
# stand-in for the demo that draws every frame plain grey: no name stands out
# and nothing varies in part 9's middle there, so the check must print FAIL
# and exit 1.
#   tools/frames/tests/run.sh          Needs: g++, libstb-dev.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++17 -O2 -Wall -Wextra -I"$root" -o "$work/tests" "$here/tests.cpp" "$here/../Measures.cpp" \
    "$here/../LampView.cpp" "$here/../ObjectMask.cpp" "$here/../Picture.cpp" "$root/scene/SceneParser.cpp" "$root/assets/TextFields.cpp"
"$work/tests" "$root"

g++ -std=c++17 -O2 -Wall -Wextra -o "$work/grey-demo" "$here/grey-demo.cpp"
if "$here/../check-frames.sh" "$work/grey-demo" > "$work/out" 2>&1; then
    cat "$work/out"
    echo "FAIL: check-frames.sh exits 0 on plain grey frames"
    exit 1
fi
if ! grep -q FAIL "$work/out"; then
    cat "$work/out"
    echo "FAIL: check-frames.sh names no missed mark on plain grey frames"
    exit 1
fi
echo "check-frames.sh fails plain grey frames"
