#!/usr/bin/env bash
# Every test suite, from a fresh Debian machine: installs what is missing,
# builds the native, win32 and win64 presets and runs their tests (unit, abi,
# and the Windows end-to-end suite under wine64), then the unit tests under the
# thread and address sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh

for preset in native win32 win64; do
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

for preset in native-tsan native-asan; do
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset" -L unit
done
echo "== all suites passed"
