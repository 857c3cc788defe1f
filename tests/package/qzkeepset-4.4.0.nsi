; The installer as version 4.4.0 shipped it, kept to test upgrades over it
; (scripts/test-package.sh builds it with makensis -DVERSION=4.4.0).
; Installer of Qzkeepset for 64-bit Windows, built by scripts/package.sh:
;   makensis -DVERSION=<x.y.z> -DBINDIR=<folder of the built files> -DOUTFILE=<setup.exe> qzkeepset.nsi
; It installs the program and its two language libraries into one folder
; (Program Files\Orvella\Qzkeepset unless chosen otherwise, /D=<folder> for
; a silent install with /S), a Start-menu shortcut and an uninstaller
; registered under Add/Remove Programs. It never writes or removes the
; operator's data: the configuration file qzkeepset.ini in the Windows
; directory, the keepsets and the run logs stay where they are.

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
!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

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
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" 2048
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
SectionEnd
