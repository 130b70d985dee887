#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command on a Wayland desktop of its own: sway on a headless output, with
# XWayland, inside a session bus of its own, and removes them afterwards. sway refuses to
# run as root, so it runs as an ordinary user (TARNIX_SWAY_USER, made when missing); the
# command runs as the caller, with WAYLAND_DISPLAY, XDG_RUNTIME_DIR and DISPLAY (the
# XWayland server) set.
#
#   with-sway.sh COMMAND [ARGUMENT...]
set -eu

user=${TARNIX_SWAY_USER:-tarnixsway}

if [ "${1:-}" = "--in-session" ]; then
  shift
  runtime=$(mktemp -d /tmp/tarnix-sway.XXXXXX)
  chmod 700 "$runtime"
  sway=
  cleanup() {
    if [ -n "$sway" ]; then kill "$sway" 2>/dev/null || true; wait "$sway" 2>/dev/null || true; fi
    rm -rf "$runtime"
  }
  trap cleanup EXIT INT TERM
  cat >"$runtime/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1280x1024
xwayland force
focus_on_window_activation focus
CONF
  before=$(ls /tmp/.X11-unix 2>/dev/null || true)
  if [ "$(id -u)" -eq 0 ]; then
    id "$user" >/dev/null 2>&1 || useradd -m "$user"
    chown "$user" "$runtime"
    as_user="runuser -u $user --"
  else
    as_user=
  fi
  $as_user env XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$runtime/sway.conf" >"$runtime/sway.log" 2>&1 &
  sway=$!
  tries=0
  until ls "$runtime" | grep -q '^wayland-[0-9]*$' && [ "$(ls /tmp/.X11-unix 2>/dev/null)" != "$before" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$sway" 2>/dev/null; then
      echo "with-sway.sh: sway did not start:" >&2
      cat "$runtime/sway.log" >&2
      exit 1
    fi
    sleep 0.05
  done
  WAYLAND_DISPLAY=$(ls "$runtime" | grep '^wayland-[0-9]*$' | head -n 1)
  x=$(ls /tmp/.X11-unix | grep -v -x -F "$before" | head -n 1)
  DISPLAY=":${x#X}"
  XDG_RUNTIME_DIR=$runtime
  export WAYLAND_DISPLAY DISPLAY XDG_RUNTIME_DIR
  # XWayland lets in only the user sway runs as.
  [ -z "$as_user" ] || $as_user env DISPLAY="$DISPLAY" xhost "+si:localuser:$(id -un)" >/dev/null
  status=0
  "$@" || status=$?
  exit "$status"
fi

exec dbus-run-session -- "$0" --in-session "$@"
