#!/usr/bin/env bash
# Runs a command on a private virtual display of its own, with a session bus
# of its own (so no desktop's StatusNotifier host is found), and nothing else:
# the command brings up what it needs, a tray host for example.
#   tests/ui/on_xvfb.sh <command...>
set -euo pipefail
number=$(mktemp)
# Xvfb picks a free display and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$number" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
n=$(tr -d '[:space:]' <"$number")
[ -n "$n" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$n" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
dbus-run-session -- "$@"
