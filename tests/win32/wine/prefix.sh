#!/usr/bin/env bash
# Makes the Wine prefix of the build's tests once (wineboot takes a while) and
# keeps it: a later run only checks its stamp. The prefix gets a CJK font, so
# that the Chinese captions are drawn.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX names the Wine prefix of the build}"
export WINEDEBUG=-all
# No .NET or HTML engine: the program needs neither, and Wine would offer to
# download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
stamp="$WINEPREFIX/.quorvane-prefix"
version=1

if [ "$(cat "$stamp" 2>/dev/null)" != "$version" ]; then
  rm -rf "$WINEPREFIX"
  wineboot --init
  wineserver -w
  font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
  [ -f "$font" ] || { echo "missing $font (package fonts-wqy-microhei)" >&2; exit 1; }
  ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/wqy-microhei.ttc"
  # Windows draws Chinese in a Tahoma caption through font linking; here
  # every face the program and the system controls use links to WenQuanYi.
  link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI" Arial; do
    wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null
  done
  wineserver -w
  echo "$version" >"$stamp"
fi
