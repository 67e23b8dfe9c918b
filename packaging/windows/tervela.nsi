; Tervela's installer for Windows, made by scripts/build-windows.sh with
;   makensis -DVERSION=1.0 -DSTAGE=FOLDER -DSIZE_KB=N -DOUTFILE=FILE -DICON=FILE tervela.nsi
; It installs the program folder STAGE for the current user, without
; administrator rights, under %LOCALAPPDATA%\Programs\Tervela, with a
; Start-menu entry and an uninstaller in the system's list of programs. The
; user's working folder (%USERPROFILE%\Tervela, with Tervela.ini) is the
; program's own business: never made, written or removed here.

; A 64-bit installer: wine64 without its 32-bit half runs no other, and the
; programs are 64-bit.
Target amd64-unicode
Name "Tervela ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tervela"
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tervela"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tervela.lnk" "$INSTDIR\tervela.exe" "" "$INSTDIR\tervela.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tervela"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Tervela team"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tervela.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there, file by file (STAGE.files.nsh, the
; list scripts/build-windows.sh writes), so that files the user put into the
; folder stay, and so does the folder then.
Section "Uninstall"
  SetShellVarContext current
  !include "${STAGE}.files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tervela.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
