#!/usr/bin/env bash
# Runs a Windows program under wine64 and passes on its output and exit code.
# The output goes through a file: wine's helper processes inherit the
# program's standard handles and outlive it by a few seconds, and CTest would
# wait for them on a pipe.
# Usage: run_in_wine.sh <wine64> <log file> <program.exe> [arguments...]
# With STATS_DISPLAY_FILE set, the program draws on the X display named in that
# file (the run's Xvfb, see xvfb.sh).
set -uo pipefail
wine64=$1 log=$2
shift 2
if [ -n "${STATS_DISPLAY_FILE:-}" ]; then
  if ! DISPLAY=$(cat "$STATS_DISPLAY_FILE" 2>/dev/null) || [ -z "$DISPLAY" ]; then
    echo "no X display: $STATS_DISPLAY_FILE is missing (did the wine.xvfb test fail?)" >&2
    exit 1
  fi
  export DISPLAY
fi
"$wine64" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
# A crash ends the program through wine's debugger, which can leave the exit
# status at 0: its report in the output counts as a failure.
if [ $status -eq 0 ] && grep -q '^Unhandled exception' "$log"; then
  echo "the program crashed (see the backtrace above)" >&2
  status=1
fi
exit $status
