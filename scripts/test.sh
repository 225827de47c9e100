#!/usr/bin/env bash
# Sets up, builds and runs the tests.  With --fast, leaves out the tests
# labelled slow (each takes more than about 20 s) and says how many.
set -euo pipefail
cd "$(dirname "$0")/.."
fast=no
for argument in "$@"; do
  case $argument in
    --fast) fast=yes ;;
    *) echo "usage: scripts/test.sh [--fast]" >&2; exit 2 ;;
  esac
done
scripts/install-deps.sh
scripts/build.sh
cd "${QH_BUILD_DIR:-build}"
if [ "$fast" = yes ]; then
  slow=$(ctest -N -L slow | sed -n 's/^Total Tests: //p')
  status=0
  ctest --output-on-failure -j2 -LE slow || status=$?
  echo "left out $slow slow tests; 'ctest -L slow' in ${QH_BUILD_DIR:-build}/ runs them"
  exit "$status"
fi
ctest --output-on-failure -j2
