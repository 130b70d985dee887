#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command on a virtual X server of its own, inside a session bus of its own, and
# removes both afterwards. The server picks a free display number itself, so several
# of these can run side by side. With --wm, a window manager runs on the server too, as
# on a real desktop: it places windows and moves the keyboard focus, which a bare server
# leaves to the programs.
#
#   with-xvfb.sh [--wm none|openbox|xfwm4|metacity|mutter|kwin] COMMAND [ARGUMENT...]
#
# mutter and kwin are the window managers of GNOME and KDE Plasma, run on their own.
set -eu

wm=none
if [ "${1:-}" = "--wm" ]; then
  wm=$2
  shift 2
fi

# Inside the session bus (see the end): the window manager, then the command.
if [ "${1:-}" = "--in-session" ]; then
  shift
  wmpid=
  trap 'if [ -n "$wmpid" ]; then kill "$wmpid" 2>/dev/null || true; wait "$wmpid" 2>/dev/null || true; fi' EXIT INT TERM
  case "$wm" in
    none) ;;
    openbox) openbox --sm-disable >/dev/null 2>&1 & wmpid=$! ;;
    xfwm4) xfwm4 --compositor=off --sm-client-disable >/dev/null 2>&1 & wmpid=$! ;;
    metacity) metacity --sm-disable >/dev/null 2>&1 & wmpid=$! ;;
    mutter) mutter --x11 --replace --sm-disable >/dev/null 2>&1 & wmpid=$! ;;
    kwin) kwin_x11 --replace >/dev/null 2>&1 & wmpid=$! ;;
    *) echo "with-xvfb.sh: unknown window manager $wm" >&2; exit 1 ;;
  esac
  if [ -n "$wmpid" ]; then
    # Ready once it has claimed the screen and announced itself on the root window.
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
      tries=$((tries + 1))
      if [ "$tries" -gt 200 ] || ! kill -0 "$wmpid" 2>/dev/null; then
        echo "with-xvfb.sh: $wm did not start" >&2
        exit 1
      fi
      sleep 0.05
    done
    # The big desktops' managers go on setting up (compositing, shortcuts) after that.
    case "$wm" in mutter | kwin) sleep 3 ;; esac
  fi
  status=0
  "$@" || status=$?
  exit "$status"
fi

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
dbus-run-session -- "$0" --wm "$wm" --in-session "$@" || status=$?
exit "$status"
