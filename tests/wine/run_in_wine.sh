#!/usr/bin/env bash
# Runs a Windows program under wine64 and passes on its output and exit code.
# The output goes through a file: wine's helper processes inherit the
# program's standard handles and outlive it by a few seconds, and CTest would
# wait for them on a pipe.
# Usage: run_in_wine.sh <wine64> <log file> <program.exe> [arguments...]
set -uo pipefail
wine64=$1 log=$2
shift 2
"$wine64" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
exit $status
