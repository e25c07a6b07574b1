; The Windows installer: Zirpel into Program Files (or the folder chosen the last time),
; a Start-menu entry with the program's icon, an entry under "Programs and Features", and
; an uninstaller that removes exactly what was installed. Neither replaces nor removes
; the files of a Zirpel that is running: they ask the user to close it first (silent:
; they stop with exit code 2). An installation over another removes the files of the
; version it replaces first, so that an uninstall leaves nothing. The settings in the
; registry are the user's and stay. Made by packaging/windows/make-installer:
; makensis -DVERSION=2.3 -DCOPYRIGHT=<text> -DSTAGE=<folder> -DFILES=<remove.nsh>
;          -DLIST=<list.nsh> -DOUTFILE=<setup.exe> -DICON=<ico>
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
VIAddVersionKey /LANG=1031 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckNotRunningHere
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; Zirpel may have been started since the uninstaller was: checked again on confirming.
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE un.CheckNotRunningHere
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

; The list of what an installation put into $INSTDIR, written as it installs: one name
; below the folder a line, files first, then folders (ending in "\") deepest first.
!define INSTALLED_LIST "$INSTDIR\installed-files.txt"

; Removes what the installation in $INSTDIR listed. A name that could reach outside the
; folder (a drive, a leading "\", "..") is passed over.
!macro RemoveListed un
Function ${un}RemoveListed
  ClearErrors
  FileOpen $0 "${INSTALLED_LIST}" r
  IfErrors done
  next:
    ClearErrors
    FileRead $0 $1
    IfErrors close
    StrCpy $2 $1 1 -1
    StrCmp $2 "$\n" 0 +2
      StrCpy $1 $1 -1
    StrCpy $2 $1 1 -1
    StrCmp $2 "$\r" 0 +2
      StrCpy $1 $1 -1
    StrCmp $1 "" next
    StrCpy $2 $1 1
    StrCmp $2 "\" next
    StrCmp $2 "/" next
    StrLen $3 $1
    StrCpy $4 0
  scan:
    IntCmp $4 $3 safe
    StrCpy $2 $1 2 $4
    StrCmp $2 ".." next
    StrCpy $2 $1 1 $4
    StrCmp $2 ":" next
    IntOp $4 $4 + 1
    Goto scan
  safe:
    StrCpy $2 $1 1 -1
    StrCmp $2 "\" 0 file
      StrCpy $1 $1 -1
      RMDir "$INSTDIR\$1"
      Goto next
  file:
    Delete "$INSTDIR\$1"
    Goto next
  close:
    FileClose $0
    Delete "${INSTALLED_LIST}"
  done:
FunctionEnd
!macroend
!insertmacro RemoveListed ""
!insertmacro RemoveListed "un."

Function un.CheckNotRunningHere
  Call un.ZirpelClosed
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
  ; What the version replaced had and this one has not is left nowhere.
  Call RemoveListed
  File /r "${STAGE}\*.*"
  FileOpen $0 "${INSTALLED_LIST}" w
  !include "${LIST}"
  FileClose $0
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
  ; Silent, the confirmation page is not shown: Zirpel may have started since.
  Call un.ZirpelClosed
  IfErrors 0 free
    SetErrorLevel 2
    Abort
  free:
  ; The files and folders the installation listed, and those this uninstaller's own
  ; version installs (a list lost or unreadable leaves nothing of them behind).
  Call un.RemoveListed
  !include "${FILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Zirpel.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
