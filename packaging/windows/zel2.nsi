; The Windows installer: for the current user, no administrator rights, into the user's
; programs folder, with a Start menu entry and an entry in "Apps & features". The message
; archive and the settings in %APPDATA%\ZEL2 are the user's and stay when it is removed.
; Made by scripts/build-windows:
;   makensis -DVERSION=x.y.z -DSOURCE=<portable folder> -DOUTFILE=<setup.exe> zel2.nsi
; with files.nsh and unfiles.nsh beside it, which list the portable folder's files.
; A 64-bit installer for a 64-bit program (and for wine64 in the tests).
Target amd64-unicode
!include "MUI2.nsh"

Name "ZEL2 ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\ZEL2"
InstallDirRegKey HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEL2" "InstallLocation"
SetCompressor /SOLID lzma

!define MUI_ICON "${SOURCE}\zel2.ico"
!define MUI_UNICON "${SOURCE}\zel2.ico"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEL2"

Section "ZEL2"
  SetShellVarContext current
  ; Over an older version in place: its files are replaced, a firmware package folder
  ; beside the program stays.
  SetOutPath "$INSTDIR"
  !include "files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\ZEL2.lnk" "$INSTDIR\zel2.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "ZEL2"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zel2.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ; Only what the installer put there: never the archive in %APPDATA%\ZEL2.
  !include "unfiles.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\ZEL2.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
