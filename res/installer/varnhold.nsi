; The Windows installer. makensis -DSOURCE=<staged files> -DOUTFILE=<setup.exe>
Unicode true
!include "MUI2.nsh"
!include "LogicLib.nsh"

!ifndef SOURCE
  !error "pass -DSOURCE=<folder with the staged files>"
!endif
!ifndef OUTFILE
  !define OUTFILE "Varnhold-1.5-setup.exe"
!endif

!define PRODUCT "Varnhold"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnhold"
; The event source, so that Event Viewer reads the texts of Varnhold's events
; from the program's message table.
!define EVENT_SOURCE_KEY "SYSTEM\CurrentControlSet\Services\EventLog\Application\Varnhold"
; The MSI package's upgrade code, the same for every version of it
; (res/installer/varnhold.wxs): Windows Installer finds any installed version
; by it.
!define MSI_UPGRADE_CODE "{C6ADADD0-AE29-41AC-A88D-98C8490ADA82}"
; The program's instance mutex (app/single_instance_win.cpp): held while
; Varnhold runs, in any session.
!define INSTANCE_MUTEX "Varnhold Made by Tolvane Software"
; Exit codes of a refusal, for scripts that run the installer silently.
!define EXIT_OTHER_INSTALLER 3
!define EXIT_PROGRAM_RUNS 4

Name "${PRODUCT} 1.5 Beta"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; The program swaps registry hives: it is installed for all users, elevated.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; A signed release signs the uninstaller as well: makensis writes it out,
; has it signed and packs the signed file, which the installer then writes
; as it is. The setup program itself is signed once built (package.sh).
!ifdef SIGN
  !uninstfinalize 'bash "${SIGN}" "%1"' = 0
!endif

!define MUI_ICON "${SOURCE}\varnhold.ico"
!define MUI_UNICON "${SOURCE}\varnhold.ico"
!insertmacro MUI_PAGE_LICENSE "${SOURCE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Both packages install into one folder under two Add/Remove Programs
; entries: removing one would take the program away from under the other,
; which would still report it installed. One kind at a time.
Function .onInit
  System::Call 'msi::MsiEnumRelatedProductsW(w "${MSI_UPGRADE_CODE}", i 0, i 0, w .r1) i .r0'
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONSTOP "Varnhold is installed from its MSI package (Windows Installer). Remove that one first (Apps and Features, or msiexec /x), then run this installer again." /SD IDOK
    SetErrorLevel ${EXIT_OTHER_INSTALLER}
    Quit
  ${EndIf}
FunctionEnd

; A running Varnhold keeps its executable and, when it closes, writes its
; settings file again: removing files from under it leaves half a program.
Function un.onInit
  StrCpy $1 0
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Global\${INSTANCE_MUTEX}") p.r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    StrCpy $1 1
  ${EndIf}
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p.r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    StrCpy $1 1
  ${EndIf}
  ${If} $1 == 1
    MessageBox MB_OK|MB_ICONSTOP "Varnhold is running. Close it (or wait for its scheduled run to end), then uninstall again." /SD IDOK
    SetErrorLevel ${EXIT_PROGRAM_RUNS}
    Quit
  ${EndIf}
FunctionEnd

Section "Varnhold"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${SOURCE}\varnhold.exe"
  File "${SOURCE}\README.txt"
  File "${SOURCE}\LICENSE.txt"
  File "${SOURCE}\DLan_*.ini"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\varnhold.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.5 Beta"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tolvane Software"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\varnhold.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegExpandStr HKLM "${EVENT_SOURCE_KEY}" "EventMessageFile" "$INSTDIR\varnhold.exe"
  WriteRegDWORD HKLM "${EVENT_SOURCE_KEY}" "TypesSupported" 7
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\varnhold.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\DLan_*.ini"
  ; Written by the program itself. The journal (varnhold-journal.txt) stays:
  ; it records what was done to the registry, and recovering from that
  ; needs it. The folder stays with it.
  Delete "$INSTDIR\options.ini"
  Delete "$INSTDIR\varnhold.log"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${EVENT_SOURCE_KEY}"
SectionEnd
