#!/usr/bin/env bash
# Runs a command on a private virtual display with a window manager, a tray
# host and a session bus, for machines without a desktop. The display number is printed.
#   scripts/headless.sh <command...>
set -euo pipefail
# Xvfb picks a free display and writes its number to fd 3.
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$number" >/dev/null 2>&1 &
xvfb=$!
tray= wm=
trap 'kill $tray $wm $xvfb 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
n=$(tr -d '[:space:]' <"$number")
[ -n "$n" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$n"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
  --transparent false --tint 0xcccccc >/dev/null 2>&1 &
tray=$!
echo "display :$n" >&2
dbus-run-session -- "$@"
