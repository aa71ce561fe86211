#!/usr/bin/env bash
# The benchmark of the library operators run beside the native one, one after
# the other on this machine: stats-bench of the native preset (libStats.so),
# then the 32-bit Windows build's under wine (build/win32/Stats.dll through
# its exports). Builds both presets first; arguments go to both runs.
#
#   scripts/bench.sh                       # 10,000 and 100,000 QSOs
#   scripts/bench.sh --sizes 100000 --runs 3
#
# Under wine the reference model is timed once per size (--ref-runs 1): on a
# machine that runs 32-bit programs through an emulator it is slow there.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh native windows >&2
for preset in native win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target stats-bench >&2
done

echo "== native: build/native/libStats.so"
build/native/tools/stats-bench "$@"

prefix=$PWD/build/win32/wineprefix-bench
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
  timeout 300 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
fi
echo "== win32 under wine: build/win32/Stats.dll"
/usr/lib/wine/wine64 build/win32/tools/stats-bench.exe --ref-runs 1 "$@"
/usr/lib/wine/wineserver -k 2>/dev/null || true
