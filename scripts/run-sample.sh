#!/usr/bin/env bash
# The main job on a fresh Debian machine: installs the native build's packages
# when they are missing (scripts/setup-deps.sh native: no wine, no cross
# compilers, no browser), builds the plug-in libStats.so and the command-line
# host stats-host of the native preset (not its tests) and scores the sample
# CW contest log through the plug-in's exported functions, printing the
# contest summary.
#
#   scripts/run-sample.sh                          # the sample CW log
#   scripts/run-sample.sh examples/wpx-ssb-sample.adi
#   scripts/run-sample.sh my-log.adi --call DL1ABC --check K1ZZ --band 20m --mode CW
#
# Arguments go to stats-host. The plug-in's files (settings, bad-QSO file,
# Cabrillo log) are left in build/native/sample-run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh native >&2
cmake --preset native >/dev/null
cmake --build --preset native --target Stats stats-host >&2

if [ $# -eq 0 ]; then
  set -- examples/wpx-cw-sample.adi
fi
exec build/native/tools/stats-host --dir build/native/sample-run "$@"
