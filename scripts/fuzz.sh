#!/usr/bin/env bash
# The fuzz targets of the native-fuzz preset (libFuzzer with the address and
# undefined-behaviour sanitizers). Each target first replays its saved
# regression inputs (tests/fuzz/regressions/<target>/), then fuzzes for a
# bounded time from its working corpus (build/native-fuzz/corpus/<target>/,
# kept between runs) and its hand-made seeds (tests/fuzz/seeds/<target>/, read
# but never written). A crash, a sanitizer report, a broken invariant, a hang
# (10 s for one input) or a run-away memory use fails the script; the input
# that did it lands in build/native-fuzz/crashes/<target>/.
#
#   scripts/fuzz.sh                  # every target for 30 s (what the test command runs)
#   scripts/fuzz.sh exports 14400    # one target for four hours
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:-all} seconds=${2:-30}
all=(exports differential readers pace)
if [ "$target" = all ]; then targets=("${all[@]}"); else targets=("$target"); fi

cmake --preset native-fuzz >/dev/null
cmake --build --preset native-fuzz >&2

build=$PWD/build/native-fuzz
# One allocation of more than 512 MB from inputs of a few kilobytes is a fault.
limits=(-rss_limit_mb=2048 -malloc_limit_mb=512)
for t in "${targets[@]}"; do
  bin=$build/tests/fuzz/fuzz_$t
  [ -x "$bin" ] || { echo "no fuzz target '$t' (targets: ${all[*]})" >&2; exit 2; }
  regressions=$PWD/tests/fuzz/regressions/$t corpus=$build/corpus/$t crashes=$build/crashes/$t
  mkdir -p "$corpus" "$crashes"
  # libFuzzer adds what it finds to the first folder only.
  corpora=("$corpus")
  [ -d "$PWD/tests/fuzz/seeds/$t" ] && corpora+=("$PWD/tests/fuzz/seeds/$t")
  if compgen -G "$regressions/*" >/dev/null; then
    echo "== fuzz $t: regression inputs"
    "$bin" "${limits[@]}" -close_fd_mask=2 "$regressions"/*
  fi
  echo "== fuzz $t: ${seconds} s"
  # Standard error is closed for the target: the portable plug-in writes its
  # message boxes there. Sanitizer reports still come through.
  "$bin" -max_total_time="$seconds" -timeout=10 "${limits[@]}" -close_fd_mask=2 -print_final_stats=1 \
         -artifact_prefix="$crashes/" "${corpora[@]}" 2>&1 | grep -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)|# Uses: |^###### '
done
echo "== fuzz: clean"
