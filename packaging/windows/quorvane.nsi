; Quorvane's Windows installer: for the user who runs it, without
; administrator rights. It installs quorvane.exe under the user's own
; programs folder with a Start-menu entry; the uninstaller also removes the
; log-on entry the program makes when its autostart option is ticked.
; Both first ask a running copy to end, so that its file is free: a file in
; use is never left to be deleted at the next restart, which would take
; away the one a later install puts in its place.
;
;   makensis -INPUTCHARSET UTF8 -DEXE=path/quorvane.exe -DVERSION=0.1.0 -DOUTFILE=setup.exe \
;            [-DICON=quorvane.ico] quorvane.nsi
;
; The script is UTF-8 (its Chinese texts), which makensis must be told.
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
; The running copy's hidden window (src/platform/win32/single_instance.h):
; WM_CLOSE ends the program as its tray menu's "退出" does.
!define INSTANCE_CLASS "QuorvaneInstance"

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
!include "LogicLib.nsh"
!include "WinMessages.nsh"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quorvane.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The program speaks Chinese; the installer too, unless Windows speaks English.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString STILL_RUNNING ${LANG_SIMPCHINESE} "Quorvane 仍在运行，无法删除。请退出 Quorvane 后重试。"
LangString STILL_RUNNING ${LANG_ENGLISH} "Quorvane is still running and cannot be removed. End Quorvane and try again."

; Asks each running copy to end and waits until it is gone (ten seconds at
; most per copy).
!macro END_RUNNING_COPY un
Function ${un}EndRunningCopy
  ${For} $R0 1 3
    FindWindow $0 "${INSTANCE_CLASS}"
    ${If} $0 = 0
      Return
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    ; SYNCHRONIZE: enough to wait for the process.
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 10000)'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${Else}
      Sleep 1000
    ${EndIf}
  ${Next}
FunctionEnd
!macroend
!insertmacro END_RUNNING_COPY ""
!insertmacro END_RUNNING_COPY "un."

Section
  SetShellVarContext current
  Call EndRunningCopy
  SetOutPath "$INSTDIR"
  File "/oname=quorvane.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Quorvane.lnk" "$INSTDIR\quorvane.exe" "" "$INSTDIR\quorvane.exe" 0

  ; The entry in the list of installed programs, the user's own.
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Quorvane"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "The Quorvane developers"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\quorvane.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.EndRunningCopy
  ; Never left for the next restart: a reinstall meanwhile would lose its
  ; file then. A copy that would not end keeps everything in place, so that
  ; the uninstall can be run again.
  Delete "$INSTDIR\quorvane.exe"
  ${If} ${FileExists} "$INSTDIR\quorvane.exe"
    MessageBox MB_OK|MB_ICONSTOP "$(STILL_RUNNING)" /SD IDOK
    Abort
  ${EndIf}
  ; A program removed must not be started at the next log-on.
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  Delete "$SMPROGRAMS\Quorvane.lnk"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: never anything the user put there.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINST_KEY}"
  ; The settings the program keeps in the user's registry stay, for a later
  ; install.
SectionEnd
