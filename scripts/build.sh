#!/usr/bin/env bash
# Builds the plug-in for Linux and for 32- and 64-bit Windows, installing the
# build packages first when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh native windows
for preset in native win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
echo
echo "Built:"
ls -l build/win32/Stats.dll build/win64/Stats.dll build/native/libStats.so
