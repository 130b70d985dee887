#!/bin/sh
# Runs a command on a virtual X server of its own, inside a session bus of its own, and
# removes both afterwards. The server picks a free display number itself, so several
# of these can run side by side.
#
#   with-xvfb.sh COMMAND [ARGUMENT...]
set -eu

work=$(mktemp -d)
xvfb=
cleanup() {
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# Starts the server; it writes its display number once it accepts connections. Without
# -noreset it would reset whenever its last client leaves, refusing connections meanwhile.
start_xvfb() {
  : >"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  tries=0
  until [ -s "$work/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$xvfb" 2>/dev/null; then
      return 1
    fi
    sleep 0.05
  done
  DISPLAY=":$(cat "$work/display")"
  export DISPLAY
  # Another server starting at the same moment can take the number: make sure ours answers.
  xdpyinfo >/dev/null 2>&1
}

attempt=1
until start_xvfb; do
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  xvfb=
  if [ "$attempt" -ge 3 ]; then
    echo "with-xvfb.sh: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  attempt=$((attempt + 1))
done

status=0
dbus-run-session -- "$@" || status=$?
exit "$status"
