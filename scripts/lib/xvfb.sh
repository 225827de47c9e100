# Sourced: start_xvfb [SCREEN [LOG]] starts a virtual X server (Xvfb) on a
# display number it picks itself, with one screen of SCREEN (WIDTHxHEIGHTxDEPTH,
# 1024x768x24 by default), its messages into LOG (discarded by default).  It
# exports DISPLAY and sets xvfb_pid; ending the server is the caller's.
# -noreset: by default the server resets when its last client leaves and
# refuses connections meanwhile, so a program started right after another
# one ended could find no display.
start_xvfb() {
  local numberfile
  numberfile=$(mktemp)
  Xvfb -displayfd 3 -noreset -screen 0 "${1:-1024x768x24}" -nolisten tcp 3>"$numberfile" 2>"${2:-/dev/null}" &
  xvfb_pid=$!
  for _ in $(seq 200); do [ -s "$numberfile" ] && break; sleep 0.05; done
  if [ ! -s "$numberfile" ]; then
    rm -f "$numberfile"
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(cat "$numberfile")"
  rm -f "$numberfile"
}
