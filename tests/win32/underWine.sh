#!/usr/bin/env bash
# Runs a test's Windows program under Wine for CTest.  Now and then, on a
# loaded machine, Wine fails to start a program: it ends at once with a
# failure having printed nothing at all, not even the test framework's first
# line, which every test program prints before its first test.  Such a start
# is tried once more, saying so.  A program that printed anything keeps its
# status and its output.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
wine "$@" >"$output" 2>&1
status=$?
if [ "$status" -ne 0 ] && [ ! -s "$output" ]; then
  echo "Wine ended the program with status $status before it printed anything; starting it once more"
  wine "$@"
  exit $?
fi
cat "$output"
exit "$status"
