#!/usr/bin/env bash
# Every test suite, from a fresh Debian machine: installs what is missing
# (every part of scripts/setup-deps.sh: the i386 architecture, wine, the cross
# compilers, clang, Chromium; it stops rather than step an installed package
# back, unless STATS_ALLOW_DOWNGRADE=1, which only CI's .ci/run sets), builds
# the native, win32 and win64 presets and runs their tests (unit, abi, and the
# Windows end-to-end suite under wine), then the unit tests under the thread
# and address sanitizers, then the fuzz targets for a short time, and checks
# that the release files build byte for byte the same elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh

# The unit tests each work in folders of their own and run side by side; the
# wine suites share one prefix and one X server, so they run one at a time.
jobs=$(nproc)
for preset in native win32 win64; do
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  if [ "$preset" = native ]; then ctest --preset "$preset" -j "$jobs"; else ctest --preset "$preset"; fi
done

for preset in native-tsan native-asan; do
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset" -L unit -j "$jobs"
done
# The fuzz targets, briefly: a long run is scripts/fuzz.sh <target> <seconds>.
scripts/fuzz.sh all 30
# The shipping DLLs and their zips, built again elsewhere, must be the same.
scripts/check-reproducible.sh win32 win64
echo "== all suites passed"
