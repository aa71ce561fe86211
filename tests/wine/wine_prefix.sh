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
    # Settings for windows on Xvfb, imported in one go:
    # - Wine's X11 driver waits about 2 s for a window manager each time it
    #   hides a managed window, and there is none on Xvfb: unmanaged windows,
    #   whose frames and captions wine draws itself, close at once and show
    #   whole on screenshots.
    # - A crash prints its backtrace into the test's output and ends the
    #   program, instead of waiting in a crash dialog on the display.
    # - Wine's own TrueType fonts (Debian's fonts-wine), which this wine build
    #   does not load from their folder by itself: Marlett draws the caption
    #   buttons, Tahoma and MS Sans Serif are the dialogs' fonts.
    {
      printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
      printf '"Managed"="N"\r\n"Decorated"="N"\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
      printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n'
      for font in /usr/share/wine/fonts/*.ttf; do
        [ -f "$font" ] || continue
        printf '"Wine %s (TrueType)"="Z:%s"\r\n' "$(basename "$font" .ttf)" "${font//\//\\\\}"
      done
    } >"$prefix.reg"
    reg_file=$prefix.reg
    timeout 60 "$wine64" regedit /S "Z:${reg_file//\//\\}" >>"$prefix.log" 2>&1 || true
    if ! timeout 60 "$wine64" reg query 'HKCU\Software\Wine\X11 Driver' /v Managed >>"$prefix.log" 2>&1; then
      echo "the settings for Xvfb did not reach the prefix:"; cat "$prefix.log"; exit 1
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
