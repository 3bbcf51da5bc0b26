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
version=6

if [ "$(cat "$stamp" 2>/dev/null)" != "$version" ]; then
  rm -rf "$WINEPREFIX"
  wineboot --init
  wineserver -w
  # Noto Sans CJK rather than the WenQuanYi Micro Hei of the Linux program,
  # whose "℃" is an empty glyph that Wine, unlike fontconfig, takes as drawn.
  font=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
  [ -f "$font" ] || { echo "missing $font (package fonts-noto-cjk)" >&2; exit 1; }
  ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/NotoSansCJK-Regular.ttc"
  # Windows draws Chinese in a Tahoma caption through font linking; here
  # every face the program and the system controls use links to Noto.
  link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI" Arial; do
    wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK SC' /f >/dev/null
  done
  wineserver -w
  echo "$version" >"$stamp"
fi
