#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's prefix (WINEPREFIX, made by
# prefix.sh), with Wine's own diagnostics off.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX names the Wine prefix of the build}"
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
