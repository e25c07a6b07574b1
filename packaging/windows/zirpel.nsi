; The Windows installer: Zirpel into Program Files (or the folder chosen the last time),
; a Start-menu entry with the program's icon, an entry under "Programs and Features", and
; an uninstaller that removes exactly what was installed. Neither replaces nor removes
; the files of a Zirpel that is running: they ask the user to close it first (silent:
; they stop with exit code 2). The settings in the registry are the user's and stay.
; makensis -DVERSION=2.3 -DSTAGE=<folder> -DFILES=<list.nsh> -DOUTFILE=<setup.exe> -DICON=<ico>
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zirpel"

Name "Zirpel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Zirpel"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; A file that cannot be replaced is never skipped.
AllowSkipFiles off
BrandingText "Quillmark Software"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1031 "ProductName" "Zirpel"
VIAddVersionKey /LANG=1031 "CompanyName" "Quillmark Software"
VIAddVersionKey /LANG=1031 "FileDescription" "Zirpel ${VERSION} Setup"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "Quillmark Software, MIT-Lizenz"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckNotRunningHere
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

; Whether zirpel.exe in $INSTDIR is running: Windows lets nobody open a running
; program's file for writing. Asks the user to close it until it is closed; sets the
; error flag when the user cancels (or, silent, at once).
!macro ZirpelClosed un
Function ${un}ZirpelClosed
  check:
    ClearErrors
    IfFileExists "$INSTDIR\zirpel.exe" 0 closed
    FileOpen $0 "$INSTDIR\zirpel.exe" a
    IfErrors running
    FileClose $0
    Goto closed
  running:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Zirpel läuft noch. Bitte beenden Sie Zirpel und klicken Sie dann auf $\"Wiederholen$\"." \
      /SD IDCANCEL IDRETRY check
    SetErrors
  closed:
FunctionEnd
!macroend
!insertmacro ZirpelClosed ""
!insertmacro ZirpelClosed "un."

; A 64-bit installer: it starts on 64-bit Windows only, as the program does.
Function .onInit
  SetRegView 64
  SetShellVarContext all
  Call ZirpelClosed
  IfErrors 0 free
    SetErrorLevel 2
    Quit
  free:
FunctionEnd

; A folder chosen on the directory page is checked again; the page stays until it is free.
Function CheckNotRunningHere
  Call ZirpelClosed
  IfErrors 0 free
    Abort
  free:
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  Call un.ZirpelClosed
  IfErrors 0 free
    SetErrorLevel 2
    Quit
  free:
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
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
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
