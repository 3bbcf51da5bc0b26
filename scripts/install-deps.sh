#!/usr/bin/env bash
# Installs the Debian packages Quorvane needs, only those missing.
#   scripts/install-deps.sh run    build and run it (with Xvfb when headless)
#   scripts/install-deps.sh test   also everything the tests use
set -euo pipefail
mode=${1:-test}

packages=(
  # build
  cmake ninja-build g++ pkg-config qt6-base-dev libasound2-dev libxcb-dpms0-dev
  # the .deb: the icon's PNG sizes rendered from its SVG, and what cpack uses
  # to find the libraries' packages
  librsvg2-bin dpkg-dev file
  # run: the CJK font for the Chinese interface and narrow faces for the tray
  # number; a virtual display, a window manager and a tray host for machines
  # without a desktop
  fonts-wqy-microhei fonts-urw-base35 fonts-dejavu-extra xvfb xauth openbox trayer x11-utils xdotool imagemagick dbus
)
if [ "$mode" = test ]; then
  packages+=(
    libgtest-dev libgmock-dev libbenchmark-dev libx11-dev strace
    faketime libfaketime python3-dbusmock dbus-x11 wmctrl
    at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    clang libclang-rt-14-dev valgrind
    # the packages' checks and the Windows installer; a Wayland desktop with
    # Qt's Wayland plugin
    desktop-file-utils appstream nsis weston qt6-wayland
    # the Windows build and its tests under Wine: mingw-w64 with the posix
    # thread model, GoogleTest's sources to build for Windows, Wine and a
    # CJK font for it
    mingw-w64 g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-noto-cjk
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
"${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
