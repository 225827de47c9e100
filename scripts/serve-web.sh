#!/usr/bin/env bash
# Serves the web build (dist/quittenhain-web/, written by scripts/build-web.sh)
# on this machine only, and prints the address to open.
#   scripts/serve-web.sh [--port N] [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."

port=8080
folder=dist/quittenhain-web
while [ $# -gt 0 ]; do
  case "$1" in
    --port) [ $# -ge 2 ] || { echo "serve-web.sh: --port needs a number" >&2; exit 2; }; port=$2; shift 2 ;;
    --port=*) port=${1#--port=}; shift ;;
    -h|--help) echo "usage: scripts/serve-web.sh [--port N] [FOLDER]"; exit 0 ;;
    -*) echo "serve-web.sh: unknown option $1" >&2; exit 2 ;;
    *) folder=$1; shift ;;
  esac
done

# At most five digits before the comparison: a longer number would overflow
# the shell's arithmetic instead of failing the range check.  Leading zeros
# are read as decimal, not octal.
if ! [[ "$port" =~ ^[0-9]{1,5}$ ]] || ((10#$port < 1 || 10#$port > 65535)); then
  echo "serve-web.sh: the port must be a number from 1 to 65535, not '$port'" >&2
  exit 2
fi
# The page names the files it loads (their names carry a content hash) in
# its block quittenhain-files: each must be there beside it.
files=index.html
if [ -f "$folder/index.html" ]; then
  files+=" $(sed -n 's/.*<script id="quittenhain-files"[^>]*>\([^<]*\)<\/script>.*/\1/p' "$folder/index.html" |
             grep -o '[A-Za-z0-9._-]*\.\(js\|wasm\|data\)' || true)"
fi
for file in $files; do
  if [ ! -f "$folder/$file" ]; then
    echo "serve-web.sh: $folder/$file is missing; build the web version first with scripts/build-web.sh" >&2
    exit 1
  fi
done
if ! command -v python3 >/dev/null; then
  echo "serve-web.sh: needs python3 (apt-get install python3)" >&2
  exit 1
fi

# The address is printed once the port is bound: a port in use or one this
# user may not open is told in one line, with status 2, before anything
# claims to be served.  The .wasm type matters: browsers compile WebAssembly
# while it downloads only when it is served as application/wasm.
exec python3 - "$folder" "$((10#$port))" <<'PYTHON'
import errno, functools, http.server, os, sys
folder, port = sys.argv[1], int(sys.argv[2])
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
handler.func.extensions_map.update({".wasm": "application/wasm", ".data": "application/octet-stream"})
try:
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
except PermissionError:
    sys.stderr.write(f"serve-web.sh: this user may not open port {port} (ports below 1024 need root); "
                     "choose another with --port\n")
    sys.exit(2)
except OSError as error:
    reason = "is already in use" if error.errno == errno.EADDRINUSE else f"cannot be opened ({os.strerror(error.errno or 0)})"
    sys.stderr.write(f"serve-web.sh: port {port} {reason}; choose another with --port\n")
    sys.exit(2)
print(f"Serving {folder} at http://localhost:{port}/  (Ctrl-C stops it)", flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
PYTHON
