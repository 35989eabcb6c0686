; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer of Orvanta, in Portuguese (Brazil): the 64-bit
; program into Program Files, a Start-menu shortcut for all users, and an
; entry in Apps & features whose uninstaller takes everything away again.
; packaging/windows/release.cmake runs makensis on it with
;   -DVERSION=1.0 -DSTAGE=<folder with orvanta.exe and LICENSE.txt>
;   -DICON=<orvanta.ico> -DOUTFILE=<Orvanta-1.0-win64-setup.exe>
; /S installs (and the uninstaller uninstalls) without a window; run again
; over an installed copy, it replaces it in place.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all

!include MUI2.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvanta"

Name "Orvanta"
OutFile "${OUTFILE}"
BrandingText "Orvanta ${VERSION}"
; Program Files of 64-bit programs, or where an installed copy already is,
; which the upgrade then replaces (/D=... on the command line wins over both).
InstallDir "$PROGRAMFILES64\Orvanta"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; Program Files, HKLM and the all-users Start menu need an administrator.
RequestExecutionLevel admin

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1046 "ProductName" "Orvanta"
VIAddVersionKey /LANG=1046 "CompanyName" "Vintoral"
VIAddVersionKey /LANG=1046 "FileDescription" "Instalador do Orvanta, calculadora de lentes para CFTV"
VIAddVersionKey /LANG=1046 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1046 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1046 "LegalCopyright" "Copyright (C) Vintoral. Licença GPL-3.0-or-later."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; No "run Orvanta now" on the last page: the installer runs as an
; administrator, and so would the program it started.
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

; The 64-bit views of the registry and of the file system, whatever the
; installer's own bitness (the amd64 stub has them already).
!macro ORVANTA_VIEWS
    SetShellVarContext all
    SetRegView 64
!macroend

Function .onInit
    !insertmacro ORVANTA_VIEWS
FunctionEnd

Function un.onInit
    !insertmacro ORVANTA_VIEWS
FunctionEnd

Section "Orvanta" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    ; An upgrade overwrites the same files: no file of an older copy is left
    ; behind, since every version installs the same three.
    SetOverwrite on
    File "${STAGE}\orvanta.exe"
    File "${STAGE}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Orvanta.lnk" "$INSTDIR\orvanta.exe" "" "$INSTDIR\orvanta.exe" 0 \
        SW_SHOWNORMAL "" "Calcula a distância focal da lente de câmeras de vídeo e imprime o relatório"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Orvanta"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vintoral"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.vintoral.com.br/orvanta/"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\orvanta.exe$\",0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ; In kilobytes, as Apps & features reads it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    Delete "$INSTDIR\orvanta.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\Orvanta.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; A folder that is the current directory cannot be removed. Without /r:
    ; whatever the user put there is theirs and stays, with the folder.
    SetOutPath "$TEMP"
    RMDir "$INSTDIR"
SectionEnd
