; Installer of Qzkeepset for 64-bit Windows, built by scripts/package.sh:
;   makensis -DVERSION=<x.y.z> -DBINDIR=<folder of the built files> -DOUTFILE=<setup.exe> qzkeepset.nsi
; It installs the program and its two language libraries into one folder
; (Program Files\Orvella\Qzkeepset unless chosen otherwise, /D=<folder> for
; a silent install with /S), a Start-menu shortcut and an uninstaller
; registered under Add/Remove Programs, and the event source the program
; writes its events to the Application log under. It never writes or
; removes the operator's data: the configuration file qzkeepset.ini in the
; Windows directory, the keepsets and the run logs stay where they are. An
; install over an earlier version replaces the files and keeps its one
; uninstall entry. Neither it nor the uninstaller goes on while a copy of
; the program runs (also under /S, which then ends with status 2).

!ifndef VERSION
  !error "VERSION must be given: makensis -DVERSION=x.y.z"
!endif
!ifndef BINDIR
  !error "BINDIR must name the folder of qzkeepset.exe, qzkeep_dt.dll and qzkeep_fr.dll"
!endif
!ifndef OUTFILE
  !define OUTFILE "qzkeepset-setup-${VERSION}.exe"
!endif

!define PRODUCT "Qzkeepset"
!define PUBLISHER "Orvella"
!define DISPLAY_NAME "Qzkeepset - Orvella Backup and Restore Tool"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Qzkeepset"
!define SHORTCUT "$SMPROGRAMS\Orvella\Qzkeepset.lnk"
!define EVENT_SOURCE_KEY "SYSTEM\CurrentControlSet\Services\EventLog\Application\Qzkeepset"
; The program's single-instance mutex; every running copy holds it, in
; whichever session it runs.
!define RUNNING_MUTEX "Global\QzkeepsetRunningCopy"

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Orvella\Qzkeepset"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Sets $0 to 1 when a copy of the program runs: its mutex exists, also
; when this process may not open it (another session's, access denied).
!macro ProgramRunning
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .r1 ?e'
  Pop $2
  StrCpy $0 0
  ${If} $1 P<> 0
    System::Call 'kernel32::CloseHandle(p r1)'
    StrCpy $0 1
  ${ElseIf} $2 = 5
    StrCpy $0 1
  ${EndIf}
!macroend

!macro RefuseWhileRunning
  !insertmacro ProgramRunning
  ${If} $0 = 1
    MessageBox MB_ICONSTOP|MB_OK "Qzkeepset is running. Close it (and wait for a scheduled save to end), then start this again." /SD IDOK
    ; Aborted by the script: exit status 2, for the setup and the uninstaller.
    SetErrorLevel 2
    Abort
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

Function un.onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

Section "Qzkeepset"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${BINDIR}\qzkeepset.exe"
  File "${BINDIR}\qzkeep_dt.dll"
  File "${BINDIR}\qzkeep_fr.dll"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The program writes its run log to log\qzkeepset.log below its working
  ; directory; the shortcut starts it in the root of the system drive, so
  ; that folder gets a log folder (kept by the uninstaller).
  StrCpy $0 "$WINDIR" 3
  CreateDirectory "$0log"
  SetOutPath "$0"
  CreateDirectory "$SMPROGRAMS\Orvella"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\qzkeepset.exe" "" "$INSTDIR\qzkeepset.exe" 0
  SetOutPath "$INSTDIR"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qzkeepset.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; What the folder holds now, in KiB, as Add/Remove Programs shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ; The program's events carry their texts in its own message table.
  WriteRegExpandStr HKLM "${EVENT_SOURCE_KEY}" "EventMessageFile" "$INSTDIR\qzkeepset.exe"
  WriteRegDWORD HKLM "${EVENT_SOURCE_KEY}" "TypesSupported" 7
SectionEnd

; Removes exactly what the installer put there. RMDir without /r leaves a
; folder that holds anything else (such as files an operator put there).
Section "Uninstall"
  SetShellVarContext all
  Delete "${SHORTCUT}"
  RMDir "$SMPROGRAMS\Orvella"
  Delete "$INSTDIR\qzkeepset.exe"
  Delete "$INSTDIR\qzkeep_dt.dll"
  Delete "$INSTDIR\qzkeep_fr.dll"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The publisher's folder of the default location, when it is empty now.
  RMDir "$PROGRAMFILES64\Orvella"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${EVENT_SOURCE_KEY}"
SectionEnd
