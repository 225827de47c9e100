#!/usr/bin/env bash
# Screenshots of the demo's start under a virtual X display: one while it
# loads (the splash over a desktop of light and dark bands) and one once the
# main window is up.  The demo is frozen with SIGSTOP the moment its splash
# window is mapped, so the short loading time needs no delay in the demo.
# Usage: scripts/splash-screenshot.sh DEMO-BINARY OUT-DIR
set -eu
demo=$1
out=$2
mkdir -p "$out"
work=$(mktemp -d)
# -noreset: the root background survives the client that set it.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
export SDL_AUDIODRIVER=dummy

convert -size 512x768 'gradient:#f4f1e8-#c9d8e6' \( -size 512x768 'gradient:#2a3142-#08090c' \) +append \
  -fill '#ffffff30' -draw 'rectangle 0,300 1024,340' -fill '#00000040' -draw 'rectangle 0,430 1024,470' \
  "$work/desktop.png"
# display sets the root background, then reports failure all the same.
display -window root "$work/desktop.png" || true

for attempt in $(seq 10); do
  "$demo" --windowed >"$work/demo.log" 2>&1 &
  pid=$!
  caught=no
  for _ in $(seq 3000); do
    splash=$(xwininfo -root -tree 2>/dev/null | awk '$2 == "\"Bildo.exe\":" { print $1; exit }')
    if [ -n "$splash" ]; then
      kill -STOP "$pid"
      xwininfo -id "$splash" | grep -q IsViewable && caught=yes
      break
    fi
  done
  if [ "$caught" = yes ]; then
    import -window root "$out/loading.png"
    kill -CONT "$pid"
    sleep 1.5
    import -window root "$out/running.png"
    kill "$pid"
    echo "wrote $out/loading.png and $out/running.png (attempt $attempt)"
    exit 0
  fi
  kill -CONT "$pid"; kill "$pid"; wait "$pid" 2>/dev/null || true
done
echo "the splash was never caught on screen" >&2
exit 1
