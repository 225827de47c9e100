#!/usr/bin/env bash
# The splash window under a virtual X display: its pixels over solid root
# colours (light, mid, dark), and in the real demo, gone when the main window
# appears.  Skipped (77) where Xvfb or xwininfo is missing.
set -u
check=$1
demo=$2
source "$(dirname "$0")/../virtualDisplay.sh"
require_tools xwininfo xdotool
start_virtual_display

for colour in 3a6ea5 f2f0e6 101018; do
  "$check" check "$colour" || fail "splash over #$colour"
done

# The demo: once its main window is there, the splash window has been made
# and is hidden again.
"$demo" --windowed >"$work/demo.log" 2>&1 &
demo_pid=$!
main=$(window_titled "Quittenhain")
if [ -z "$main" ]; then
  fail "no main window on screen"
else
  splash=$(xwininfo -root -tree | awk '$2 == "\"Bildo.exe\":" { print $1; exit }')
  if [ -z "$splash" ]; then
    fail "the demo made no splash window"
  else
    state=$(xwininfo -id "$splash" | awk '/Map State:/ { print $3 }')
    [ "$state" = IsUnMapped ] || fail "the splash is still $state with the main window shown"
  fi
  xdotool mousemove 400 300 key Escape
fi
for _ in $(seq 100); do kill -0 "$demo_pid" 2>/dev/null || break; sleep 0.1; done
kill -9 "$demo_pid" 2>/dev/null

if [ "$failures" -gt 0 ]; then
  echo "--- demo output"; cat "$work/demo.log"
  exit 1
fi
echo "splash test passed"
