#!/usr/bin/env bash
# Sets up, builds and plays the demo.  Arguments go to the demo (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/quittenhain "$@"
