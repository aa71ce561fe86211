#!/usr/bin/env bash
# The wine prefix of one test run.
#   create: delete the prefix and make a new one (wineboot), then wait until
#           its wineserver has written everything and gone.
#   stop:   stop the prefix's wineserver, so that no wine process outlives the run.
# Usage: wine_prefix.sh create|stop <wine64> <wineserver> <prefix>
set -euo pipefail
action=$1 wine64=$2 wineserver=$3 prefix=$4

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

case $action in
  create)
    # A server left running on an old prefix would keep serving deleted files.
    if [ -d "$prefix" ]; then "$wineserver" -k 2>/dev/null || true; fi
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    # Without a display wineboot reports missing drivers and the like; only
    # the result counts.
    if ! timeout 180 "$wine64" wineboot -i >"$prefix.log" 2>&1; then
      echo "wineboot failed for $prefix:"; cat "$prefix.log"; exit 1
    fi
    timeout 60 "$wineserver" -w
    [ -f "$prefix/system.reg" ] && [ -d "$prefix/drive_c/windows" ] || {
      echo "wine prefix $prefix is incomplete:"; cat "$prefix.log"; exit 1
    }
    echo "wine prefix ready: $prefix ($("$wine64" --version 2>/dev/null || echo wine))"
    ;;
  stop)
    [ -d "$prefix" ] || exit 0
    "$wineserver" -k 2>/dev/null || true
    timeout 30 "$wineserver" -w 2>/dev/null || true
    ;;
  *)
    echo "unknown action $action" >&2; exit 2 ;;
esac
