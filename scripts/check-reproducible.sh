#!/usr/bin/env bash
# Anyone can check that a Stats.dll was built from this source: builds the DLL
# and its release zip for each Windows preset (default: win32 win64) here and
# again from a copy of the source in another folder, and compares them byte
# for byte. The zips' file times are the last commit's in both.
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(win32 win64)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 1796774400)}
other=$(mktemp -d "${TMPDIR:-/tmp}/stats-reproducible-XXXXXX")
trap 'rm -rf "$other"' EXIT
tar --exclude=./build --exclude=./.git -cf - . | tar -xf - -C "$other"

# The DLL, the files beside it and the zip: nothing else is needed for them.
pack() {
  cmake --preset "$1" "${@:2}" >/dev/null
  cmake --build --preset "$1" --target stats_package_files >/dev/null
  (cd "build/$1" && cpack -G ZIP >/dev/null)
}
status=0
for preset in "${presets[@]}"; do
  pack "$preset"
  (cd "$other" && pack "$preset" -DSTATS_BUILD_TESTS=OFF)
  for file in Stats.dll "$(cd "build/$preset" && ls Stats-*-"$preset".zip)"; do
    here=build/$preset/$file there=$other/build/$preset/$file
    if cmp -s "$here" "$there"; then
      echo "== $preset: $file is the same from both folders ($(sha256sum < "$here" | cut -c1-16)...)"
    else
      echo "== $preset: $file DIFFERS between $PWD and $other" >&2
      status=1
    fi
  done
done
exit $status
