# Sourced by the tests that need an X display: skips the test (77) when a
# tool is missing, starts Xvfb on a free display for the test's lifetime, and
# gives `work` (a scratch folder), `window_titled`, `fail` and the `failures`
# count.
# Usage: require_tools TOOL...; start_virtual_display
require_tools() {
  for tool in Xvfb "$@"; do
    command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
  done
}

start_virtual_display() {
  work=$(mktemp -d)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(cat "$work/display")"
  export SDL_AUDIODRIVER=dummy
}

# The id of the top-level window with this title, once it is on screen.  The
# waits are generous: under the sanitizers, next to other tests, loading
# takes several seconds.
window_titled() {
  for _ in $(seq 300); do
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
