; Tolvan-setup.exe: installs the driver package the way the scanner driver does, with a Start-menu shortcut and an
; uninstaller. Built by the build tree (package/CMakeLists.txt), which defines PACKAGE_FILES (the file macros made
; from the package's file list), OUTFILE, VERSION and ICON.
Unicode true
; The program is a 64-bit one, and so is the installer: it then sees the registry and the Windows folder exactly as
; the program does, with no 32-bit redirection of either (and runs where Wine has no 32-bit support).
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "${PACKAGE_FILES}"

!define PRODUCT "Tolvan"
!define MAKER "Kelto"
; The program's registry key; its value "Path" names the driver's folder inside the Windows folder's Twain_32.
!define DRIVER_KEY "Software\${MAKER}\${PRODUCT}"
!define DRIVER_FOLDER "ZezoRiz6"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The program takes its driver folder from "Path" and its own folder's name, so the place is fixed.
InstallDir "$WINDIR\Twain_32\${DRIVER_FOLDER}\${PRODUCT}"
RequestExecutionLevel admin
AllowSkipFiles off
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${MAKER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${MAKER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PRODUCT}.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    SetRegView 64
    ; The program is installed for every user of the machine, and so are its shortcut and its uninstaller entry.
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "${PRODUCT}"
    SetOutPath "$INSTDIR"
    !insertmacro INSTALL_PACKAGE_FILES
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ; What the driver writes for the user who installs it; the program writes the same for any other user on
    ; their first start.
    WriteRegStr HKCU "${DRIVER_KEY}" "Path" "${DRIVER_FOLDER}"
    CreateShortCut "${SHORTCUT}" "$INSTDIR\${PRODUCT}.exe" "" "$INSTDIR\${PRODUCT}.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PRODUCT}.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put in place. The users' own settings (their folders under the application-data
; folder) are theirs and stay.
Section "Uninstall"
    Delete "${SHORTCUT}"
    !insertmacro REMOVE_PACKAGE_FILES
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    ; The driver's folder goes too when nothing else of the driver is left in it.
    ${GetParent} "$INSTDIR" $0
    RMDir "$0"

    ; "Path" goes only while it still names this installation's folder: another driver installed since may have
    ; pointed it elsewhere.
    ReadRegStr $0 HKCU "${DRIVER_KEY}" "Path"
    ${If} $0 == "${DRIVER_FOLDER}"
        DeleteRegValue HKCU "${DRIVER_KEY}" "Path"
    ${EndIf}
    DeleteRegKey /ifempty HKCU "${DRIVER_KEY}"
    DeleteRegKey /ifempty HKCU "Software\${MAKER}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
