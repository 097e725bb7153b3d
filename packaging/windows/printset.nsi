; The Windows installer (NSIS): printset-cli.exe, the licence and the sample config.ini in
; Program Files, an uninstaller, and an entry in Add/Remove Programs with its quiet
; uninstall. make-installers.sh passes VERSION, COMMIT, PAYLOAD (the folder of the files
; to install) and OUTFILE; and WINDOW once the window (printset.exe) is built, which adds
; it and its Start menu entry "PRINT SET".
; A 64-bit installer: the programs are 64-bit, and a 32-bit one would need Windows' 32-bit
; layer (and its registry and folder redirection) for nothing.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\printset"

Name "PRINT SET ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\printset"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "PRINT SET"
VIAddVersionKey "ProductVersion" "${VERSION} (${COMMIT})"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "PRINT SET setup"
VIAddVersionKey "CompanyName" "The printset authors"
VIAddVersionKey "LegalCopyright" "MIT licence, The printset authors"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "PRINT SET"
  SetOutPath "$INSTDIR"
  File "${PAYLOAD}\printset-cli.exe"
  !ifdef WINDOW
    File "${PAYLOAD}\printset.exe"
    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\PRINT SET.lnk" "$INSTDIR\printset.exe"
  !endif
  File "${PAYLOAD}\LICENSE.txt"
  ; Not beside the programs: a config.ini there would put them in portable mode.
  SetOutPath "$INSTDIR\sample"
  File "${PAYLOAD}\config.ini"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${KEY}" "DisplayName" "PRINT SET"
  WriteRegStr HKLM "${KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${KEY}" "Publisher" "The printset authors"
  WriteRegStr HKLM "${KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
SectionEnd

; Exactly what was installed: the folder goes only when nothing else is left in it.
Section "Uninstall"
  !ifdef WINDOW
    SetShellVarContext all
    Delete "$SMPROGRAMS\PRINT SET.lnk"
    Delete "$INSTDIR\printset.exe"
  !endif
  Delete "$INSTDIR\printset-cli.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\sample\config.ini"
  RMDir "$INSTDIR\sample"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${KEY}"
SectionEnd
