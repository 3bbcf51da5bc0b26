#!/usr/bin/env bash
# Runs a command on a private Xvfb display with openbox and trayer, inside a
# private D-Bus session, once the window manager and the tray are up.
#   bench/desktop.sh command [args...]
set -euo pipefail
n=$((90 + $$ % 400))
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm= tray=
trap 'kill $tray $wm $xvfb 2>/dev/null || true' EXIT
export DISPLAY=":$n"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
up() { for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
up xdpyinfo || { echo "desktop: Xvfb did not start" >&2; exit 1; }
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
up sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q WINDOW' ||
  { echo "desktop: openbox did not start" >&2; exit 1; }
trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
  --transparent false --tint 0xcccccc >/dev/null 2>&1 &
tray=$!
up xdotool search --name '^panel$' || { echo "desktop: trayer did not start" >&2; exit 1; }
# dbus-daemon complains when it may not raise its descriptor limit; harmless.
dbus-run-session -- "$@" 2> >(grep -v 'fd limit' >&2)
