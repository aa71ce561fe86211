#!/usr/bin/env bash
# The X display of one test run: a virtual frame buffer (Xvfb) that every wine
# test draws on, so that windows, dialogs and message boxes really appear.
#   start: start Xvfb on a display number it picks itself (so that two runs on
#          one machine never collide), detached from this script so that it
#          outlives the test that starts it, and write the display (":N") to
#          <state>/display once the server accepts connections.
#   stop:  stop that server.
# Usage: xvfb.sh start|stop <state folder>
set -euo pipefail
action=$1 state=$2

stop_server() {
  [ -f "$state/pid" ] || return 0
  local pid
  pid=$(cat "$state/pid")
  # Only our own server: the number may have been reused since.
  if [ "$(cat /proc/"$pid"/comm 2>/dev/null)" = Xvfb ]; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 100); do
      [ -d /proc/"$pid" ] || break
      sleep 0.05
    done
  fi
  rm -f "$state/pid" "$state/display"
}

case $action in
  start)
    xvfb=$(command -v Xvfb) || { echo "Xvfb not found: the wine suite needs it (scripts/setup-deps.sh windows installs it)"; exit 1; }
    stop_server
    mkdir -p "$state"
    rm -f "$state/display" "$state/number"
    # -displayfd: the server writes the number of the display it took once it
    # is ready. Its own session, so that nothing of this test waits for it.
    setsid "$xvfb" -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
      3>"$state/number" >"$state/xvfb.log" 2>&1 </dev/null &
    echo $! >"$state/pid"
    for _ in $(seq 200); do
      if grep -qE '^[0-9]+$' "$state/number" 2>/dev/null; then
        echo ":$(head -n 1 "$state/number")" >"$state/display"
        echo "Xvfb ready on display $(cat "$state/display") (1024x768x24)"
        exit 0
      fi
      [ -d /proc/"$(cat "$state/pid")" ] || break
      sleep 0.05
    done
    echo "Xvfb did not start:"; cat "$state/xvfb.log"
    stop_server
    exit 1
    ;;
  stop)
    stop_server
    ;;
  *)
    echo "unknown action $action" >&2; exit 2 ;;
esac
