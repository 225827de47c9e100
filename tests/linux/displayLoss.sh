#!/usr/bin/env bash
# The desktop demo whose X server ends under it (the session closed) must end
# too, promptly and with status 1, however far it got: while loading, in
# part 1, in part 2.  Each try starts a virtual X server, plays the demo
# windowed, ends the server after a different time and gives the demo 10 s.
# Skipped (77) where Xvfb is missing.
set -u
demo=$1
command -v Xvfb >/dev/null || { echo "no Xvfb: skipped"; exit 77; }
source "$(dirname "$0")/../../scripts/lib/xvfb.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy
failures=0
for delay in 0.3 1 2 3.5 5 7 13.5; do
  start_xvfb || exit 1
  xvfb=$xvfb_pid
  "$demo" --windowed 2>"$work/demo.log" &
  demo_pid=$!
  sleep "$delay"
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null
  ended=no
  for _ in $(seq 100); do
    kill -0 "$demo_pid" 2>/dev/null || { ended=yes; break; }
    sleep 0.1
  done
  if [ "$ended" = no ]; then
    echo "FAIL: X server ended after ${delay}s; the demo still runs 10 s later"
    kill -KILL "$demo_pid"
    wait "$demo_pid" 2>/dev/null
    failures=$((failures + 1))
    continue
  fi
  wait "$demo_pid"
  status=$?
  if [ "$status" -ne 1 ]; then
    echo "FAIL: X server ended after ${delay}s; the demo ended with status $status"; cat "$work/demo.log"
    failures=$((failures + 1))
  else
    echo "X server ended after ${delay}s: the demo ended with status 1"
  fi
done
exit $((failures > 0))
