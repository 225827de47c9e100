#!/usr/bin/env bash
# The Windows program's desktop run under Wine, on the X display in DISPLAY
# (scripts/test-windows.sh provides it and the Wine prefix): the full-screen
# question answered "No" by keyboard, the splash over the desktop before the
# main window, the no-sound message, the window "Quittenhain" whose client
# area is 640x480 showing part 1's picture, Escape ending it with 1, and the
# frame log written under a Cyrillic and Chinese file name.
set -u
exe=$1
source "$(dirname "$0")/../virtualDisplay.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The id of the viewable top-level window with this title (spaces allowed),
# waiting up to two minutes: Wine's first start of a program and loading
# next to other work can take that long.
window_id() {
  xwininfo -root -tree | awk -v t="\"$1\":" 'index($0, " " t " ") { print $1; exit }'
}
viewable() {
  id=$(window_id "$1")
  [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable
}
wait_for() {
  for _ in $(seq 1200); do
    if viewable "$1"; then
      window_id "$1"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# The frame log goes to a name in two scripts (Wine passes arguments on in
# the locale's character set: UTF-8 here).
log_name="$work/журнал 日志.log"
LC_ALL=C.UTF-8 wine "$exe" --frame-log "$log_name" >"$work/demo.log" 2>&1 &
demo_pid=$!

question=$(wait_for "Question") || fail "no full-screen question"
[ -n "${question:-}" ] && xdotool key --window "$question" n

# Without a sound device the message about it stops loading while the
# splash is up: the splash is on screen, the main window is not yet.
if message=$(wait_for "Shit !"); then
  viewable "Bildo.exe" || fail "no splash while loading"
  viewable "Quittenhain" && fail "the main window shows before the splash is gone"
  xdotool key --window "$message" Return
else
  echo "no no-sound message (a sound device is present)"
fi

main=$(wait_for "Quittenhain") || fail "no main window after the question"
if [ -n "${main:-}" ]; then
  viewable "Bildo.exe" && fail "the splash is still on screen beside the main window"
  # Without a window manager Wine draws the frame itself and the X window is
  # the client area, which must be the picture's 640x480 (the frame grows
  # outside it, so the picture is shown 1:1).
  size=$(xwininfo -id "$main" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
  [ "$size" = "640x480" ] || fail "the window's client area is $size, not 640x480"
  # Part 1 fades in from black over 6 s: after a few seconds the window
  # shows the coloured plasma sheet, not a flat picture.
  sleep 4
  x=$(xwininfo -id "$main" | awk '/Absolute upper-left X/ { print $4 }')
  y=$(xwininfo -id "$main" | awk '/Absolute upper-left Y/ { print $4 }')
  import -window root -crop "640x480+$x+$y" "$work/part1.png"
  spread=$(convert "$work/part1.png" -colorspace gray -format '%[fx:standard_deviation]' info:)
  colour=$(convert "$work/part1.png" -colorspace HSL -channel G -separate -format '%[fx:mean]' info:)
  awk -v s="$spread" -v c="$colour" 'BEGIN { exit !(s > 0.08 && c > 0.15) }' ||
    fail "the window does not show part 1's picture (grey spread $spread, saturation $colour)"
  [ -n "${QH_SMOKE_SCREENSHOT:-}" ] && cp "$work/part1.png" "$QH_SMOKE_SCREENSHOT"
  # A key pressed while the window is still being mapped may be lost.
  for press in $(seq 20); do
    kill -0 "$demo_pid" 2>/dev/null || break
    xdotool key --window "$main" Escape
    sleep 1
  done
fi
for _ in $(seq 100); do kill -0 "$demo_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$demo_pid" 2>/dev/null; then
  kill -9 "$demo_pid"
  status=timeout
else
  wait "$demo_pid"
  status=$?
fi
[ "$status" = 1 ] || fail "Escape ended with status $status"
head -1 "$log_name" 2>/dev/null | grep -q "^# picture 640x480" || fail "no frame log under the name $log_name"
if [ "$failures" -gt 0 ]; then
  cat "$work/demo.log"
  exit 1
fi
echo "desktop smoke test under Wine passed"
