; Quorvane's Windows installer: for the user who runs it, without
; administrator rights. It installs quorvane.exe under the user's own
; programs folder with a Start-menu entry; the uninstaller also removes the
; log-on entry the program makes when its autostart option is ticked.
;
;   makensis -DEXE=path/quorvane.exe -DVERSION=0.1.0 -DOUTFILE=setup.exe [-DICON=quorvane.ico] quorvane.nsi
;
; /S installs or uninstalls silently.

; quorvane.exe is a 64-bit program; so is its installer, which runs where it runs.
Target amd64-unicode
!ifndef EXE
  !error "Say which quorvane.exe to pack: -DEXE=path/quorvane.exe"
!endif
!ifndef VERSION
  !define VERSION 0.0.0
!endif
!ifndef OUTFILE
  !define OUTFILE "quorvane-${VERSION}-setup.exe"
!endif

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane"
; The program names its Run value after its executable's base name.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "quorvane"

Name "Quorvane"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Quorvane"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif

!include "MUI2.nsh"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quorvane.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The program speaks Chinese; the installer too, unless Windows speaks English.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=quorvane.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Quorvane.lnk" "$INSTDIR\quorvane.exe"

  ; The entry in the list of installed programs, the user's own.
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Quorvane"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "The Quorvane developers"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\quorvane.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ; A program removed must not be started at the next log-on.
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  Delete "$SMPROGRAMS\Quorvane.lnk"
  ; A running copy keeps its file until the next restart.
  Delete /REBOOTOK "$INSTDIR\quorvane.exe"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: never anything the user put there.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINST_KEY}"
  ; The settings the program keeps in the user's registry stay, for a later
  ; install.
SectionEnd
