#!/usr/bin/env bash
# --resolution native --fullscreen on a wide virtual screen (1920x1080): the
# window covers the screen at its own mode, the picture is drawn at the
# largest 4:3 area (1440x1080) and centred between black bars, the frame log
# is written, and Escape ends with status 1.  Skipped (77) without Xvfb,
# xdotool or ImageMagick.
set -u
demo=$1
source "$(dirname "$0")/../virtualDisplay.sh"
require_tools xdotool xwininfo xdpyinfo import convert
start_virtual_display 1920x1080x24

start_demo --resolution native --fullscreen --frame-log "$work/swaps.txt"
main=$(window_titled "Quittenhain") || fail "no window"
if [ -n "${main:-}" ]; then
  size=$(xwininfo -id "$main" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
  [ "$size" = "1920x1080" ] || fail "full-screen window is $size, not the screen's 1920x1080"
  sleep 5   # part 1 fades in from black
  import -window root "$work/screen.png"
  for bar in 240x1080+0+0 240x1080+1680+0; do
    brightest=$(convert "$work/screen.png" -crop "$bar" -format '%[fx:maxima*255]' info:)
    [ "$brightest" = 0 ] || fail "bar $bar is not black (brightest $brightest)"
  done
  # Between the bars: part 1's colourful sheet.
  spread=$(convert "$work/screen.png" -crop 1440x1080+240+0 -colorspace gray -format '%[fx:standard_deviation]' info:)
  awk -v s="$spread" 'BEGIN { exit !(s > 0.08) }' || fail "no picture between the bars (grey spread $spread)"
  screen=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
  [ "$screen" = "1920x1080" ] || fail "the screen's mode changed to $screen"
  escape_until_gone "$main"
fi
wait_for_demo
[ "$status" = 1 ] || fail "Escape ended with status $status"
[ "$(grep -cv '^#' "$work/swaps.txt" 2>/dev/null)" -gt 10 ] || fail "no frame log"
grep -q "picture 1440x1080, frame log:" "$work/demo.log" || fail "not rendered at the screen's largest 4:3 area"

if [ "$failures" -gt 0 ]; then
  echo "--- demo output"; cat "$work/demo.log"
  exit 1
fi
echo "native full screen test passed"
