# Sourced by the tests that need an X display: skips the test (77) when a
# tool is missing, starts Xvfb on a free display for the test's lifetime, and
# gives `work` (a scratch folder), `window_titled`, `fail` and the `failures`
# count.
# Usage: require_tools TOOL...; start_virtual_display [WIDTHxHEIGHTxDEPTH]
# Then, with the program in $demo: start_demo ARGS..., wait_for_demo (sets
# status), escape_until_gone WINDOW.
require_tools() {
  for tool in Xvfb "$@"; do
    command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
  done
}

source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/xvfb.sh"

start_virtual_display() {
  work=$(mktemp -d)
  start_xvfb "${1:-1024x768x24}" "$work/xvfb.log" || exit 1
  xvfb=$xvfb_pid
  trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
  export SDL_AUDIODRIVER=dummy
}

# The id of the top-level window with this title, once it is on screen.  The
# waits are generous: under the sanitizers, next to other tests, loading
# takes several seconds.
window_titled() {
  local deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(xwininfo -root -tree | awk -v t="\"$1\":" '$2 == t { print $1; exit }')
    if [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Whether the demo is still running, for a message when a window is missing.
demo_state() {
  if kill -0 "$demo_pid" 2>/dev/null; then echo "the demo is still running"; else echo "the demo has ended"; fi
}

# Starts the demo with the given arguments in the background.  Each start
# keeps its output (demo.log is the last one's; all are shown on a failure).
starts=0
start_demo() {
  starts=$((starts + 1))
  "$demo" "$@" >"$work/demo-$starts.log" 2>&1 &
  demo_pid=$!
  ln -sf "demo-$starts.log" "$work/demo.log"
}

# Every start's output, for a failure's report.
show_demo_logs() {
  for log in "$work"/demo-*.log; do
    echo "--- demo output ($(basename "$log"))"; cat "$log"
  done
}

# Waits for the demo to end and sets status to its exit status (or "timeout").
wait_for_demo() {
  for _ in $(seq 300); do
    if ! kill -0 "$demo_pid" 2>/dev/null; then
      wait "$demo_pid"
      status=$?
      return
    fi
    sleep 0.1
  done
  kill -9 "$demo_pid" 2>/dev/null
  status=timeout
}

# Presses Escape over the given window until the demo ends (at most 30
# times, a second apart).  A key pressed while the window is still being
# mapped or switched to full screen reaches no window at all, so one press
# may be lost on a busy machine; the demo must end on one that arrives.
escape_until_gone() {
  for press in $(seq 30); do
    kill -0 "$demo_pid" 2>/dev/null || return
    [ "$press" -gt 1 ] && echo "Escape again (press $press)"
    xdotool mousemove --window "$1" 320 240 key Escape
    sleep 1
  done
}
