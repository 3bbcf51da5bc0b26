#!/usr/bin/env bash
# Installs what is missing, builds and starts Quorvane. Without a display it
# runs on a virtual one with a tray host, saves a screenshot after the first
# readings and says where.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
# Its own build directory: the tests' build (build/) keeps its test targets.
cmake -S . -B build-app -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build-app --target quorvane -j"$(nproc)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build-app/src/quorvane
fi

shot="$PWD/build-app/screenshot.png"
export QUORVANE_SHOT="$shot"
scripts/headless.sh bash -c '
  build-app/src/quorvane &
  app=$!
  sleep 23   # the disk temperature arrives 21 s after start
  import -window root "$QUORVANE_SHOT"
  kill $app
'
echo "No display here: Quorvane ran on a virtual display. Screenshot: $shot"
