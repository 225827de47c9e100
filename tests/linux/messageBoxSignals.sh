#!/usr/bin/env bash
# Ctrl-C and a termination request end the desktop demo while a modal
# message box is up: here the one that says there is no sound, shown when no
# audio driver works.  Skipped (77) where Xvfb or xwininfo is missing.
set -u
demo=$1
source "$(dirname "$0")/../virtualDisplay.sh"
require_tools xwininfo
start_virtual_display

# Whether a window titled "Shit !" (the sound message's caption) is on
# screen within 30 s.
sound_box_shown() {
  local deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    xwininfo -root -tree | grep -qF '"Shit !":' && return 0
    sleep 0.1
  done
  return 1
}

# SDL shows the box from a process of its own: once the demo has ended, the
# box must be gone too (the server removes the windows of a client that has
# ended a little after its end).
no_sound_box_left() {
  for _ in $(seq 100); do
    xwininfo -root -tree | grep -qF '"Shit !":' || return 0
    sleep 0.1
  done
  return 1
}

for signal in INT TERM; do
  SDL_AUDIODRIVER=no-such-driver start_demo --windowed
  if ! sound_box_shown; then
    fail "no message box about the sound ($(demo_state))"
    kill -9 "$demo_pid"
  else
    kill -"$signal" "$demo_pid"
    # Far longer than an ending takes; a box that swallows the signal
    # keeps the demo running past it.
    for _ in $(seq 50); do kill -0 "$demo_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$demo_pid" 2>/dev/null; then
      fail "SIG$signal did not end the demo while the message box was up"
      kill -9 "$demo_pid"
    fi
  fi
  wait "$demo_pid" 2>/dev/null
  no_sound_box_left || fail "the message box stayed on screen after the demo ended by SIG$signal"
done

if [ "$failures" -gt 0 ]; then
  show_demo_logs
  exit 1
fi
echo "signals end the demo while a message box is up"
