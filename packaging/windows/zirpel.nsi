; The Windows installer: Zirpel into Program Files, a Start-menu entry with the
; program's icon, and an uninstaller that removes exactly what was installed. The
; settings in the registry are the user's and stay.
; makensis -DVERSION=2.3 -DSTAGE=<folder> -DFILES=<list.nsh> -DOUTFILE=<setup.exe> -DICON=<ico>
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zirpel"

Name "Zirpel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Zirpel"
BrandingText "Quillmark Software"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1031 "ProductName" "Zirpel"
VIAddVersionKey /LANG=1031 "CompanyName" "Quillmark Software"
VIAddVersionKey /LANG=1031 "FileDescription" "Zirpel ${VERSION} Setup"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "Quillmark Software, MIT-Lizenz"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

; A 64-bit installer: it starts on 64-bit Windows only, as the program does.
Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Zirpel"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Zirpel.lnk" "$INSTDIR\zirpel.exe" "" "$INSTDIR\zirpel.exe" 0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Zirpel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quillmark Software"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zirpel.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; The files and folders the installer made, listed when the installer was built.
  !include "${FILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Zirpel.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
