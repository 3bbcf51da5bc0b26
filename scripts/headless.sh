#!/usr/bin/env bash
# Runs a command on a private virtual display with a window manager, a tray
# host and a session bus, for machines without a desktop. The display number is printed.
#   scripts/headless.sh <command...>
set -euo pipefail
n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
tray= wm=
trap 'kill $tray $wm $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do xdpyinfo -display ":$n" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=":$n"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
  --transparent false --tint 0xcccccc >/dev/null 2>&1 &
tray=$!
echo "display :$n" >&2
dbus-run-session -- "$@"
