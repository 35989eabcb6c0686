; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer of Orvanta, in Portuguese (Brazil): the 64-bit
; program for all users (Program Files, the all-users Start menu, an Apps &
; features entry under HKLM) or for the current user alone, without an
; administrator (%LOCALAPPDATA%\Programs, the user's Start menu, the entry
; under HKCU). The uninstaller takes away what its own install made.
; packaging/windows/release.cmake runs makensis on it with
;   -DVERSION=1.0 -DVERSION_NUMBERS=1.0.0.0
;   -DSTAGE=<folder with orvanta.exe and LICENSE.txt>
;   -DICON=<orvanta.ico> -DOUTFILE=<Orvanta-1.0-win64-setup.exe>
;   -DSOURCE_DATE_EPOCH=<the time stamp of the installer's header>
; /S installs (and the uninstaller uninstalls) without a window; /AllUsers
; or /CurrentUser chooses the install, else an administrator is offered both
; (all users first) and anyone else installs for themselves. Run again over an
; installed copy, it replaces it in place.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all
; The header's time stamp is the release's, not the NSIS stub's.
!packhdr "exehead.tmp" '/usr/bin/python3 "${__FILEDIR__}/pe_time_stamp.py" exehead.tmp ${SOURCE_DATE_EPOCH}'

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvanta"

; An administrator is asked to elevate; anyone else runs as themselves.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Orvanta"
!define MULTIUSER_INSTALLMODE_FUNCTION InstalledCopy
; /AllUsers without an administrator: said in Portuguese, and a failure.
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE \
    "A sua conta não tem permissão para instalar o Orvanta para todos os usuários deste computador."
!define MULTIUSER_INIT_FUNCTIONQUIT Refused
!define MULTIUSER_INIT_un.FUNCTIONQUIT un.Refused ; the name MultiUser.nsh reads
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinMessages.nsh

Name "Orvanta"
OutFile "${OUTFILE}"
BrandingText "Orvanta ${VERSION}"
; A file that cannot be written stops the install rather than being skipped.
AllowSkipFiles off

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=1046 "ProductName" "Orvanta"
VIAddVersionKey /LANG=1046 "CompanyName" "Vintoral"
VIAddVersionKey /LANG=1046 "FileDescription" "Instalador do Orvanta, calculadora de lentes para CFTV"
VIAddVersionKey /LANG=1046 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1046 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1046 "LegalCopyright" "Copyright (C) Vintoral. Licença GPL-3.0-or-later."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; No "run Orvanta now" on the last page: an installer that an administrator
; elevated would start the program elevated too.
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

!macro REFUSED un
Function ${un}Refused
    SetErrorLevel 2
    Quit
FunctionEnd
!macroend
!insertmacro REFUSED ""
!insertmacro REFUSED "un."

; An installed copy of the chosen kind is upgraded where it is.
Function InstalledCopy
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
        StrCpy $INSTDIR $0
    ${EndIf}
FunctionEnd

Function .onInit
    ; The 64-bit registry, whatever the installer's own bitness.
    SetRegView 64
    ; /D=... on the command line wins over the folder the mode chooses.
    StrCpy $1 $INSTDIR
    !insertmacro MULTIUSER_INIT
    ${If} $1 != ""
        StrCpy $INSTDIR $1
    ${EndIf}
FunctionEnd

; The uninstaller belongs to the install whose entry names its folder: the
; current user's, else all users' (which needs an administrator).
Function un.onInit
    SetRegView 64
    !insertmacro MULTIUSER_UNINIT
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        Call un.MultiUser.InstallMode.CurrentUser
    ${Else}
        Call un.MultiUser.InstallMode.AllUsers
        ${If} $MultiUser.InstallMode != "AllUsers"
            MessageBox MB_OK|MB_ICONSTOP "O Orvanta foi instalado para todos os usuários: só um administrador pode removê-lo." /SD IDOK
            Call un.Refused
        ${EndIf}
    ${EndIf}
FunctionEnd

; Closes the copy of Orvanta that runs from $INSTDIR, if any, before its
; files change. With a window the user is asked to close it and retry;
; silently its window is asked to close (WM_CLOSE, as Windows asks a program
; to close) and the install stops, changing nothing, when it has not ended
; within 15 s (5 for the window to take the message, 10 to end). Another copy (the portable one, another install) is left alone.
!macro CLOSE_RUNNING_ORVANTA un
Function ${un}CloseRunningOrvanta
    StrCpy $0 0
    ${Do}
        FindWindow $0 "OrvantaForm1" "" 0 $0
        ${If} $0 == 0
            ${Break}
        ${EndIf}
        StrCpy $3 ""
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
        ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
        System::Call 'kernel32::OpenProcess(i 0x101000, i 0, i r1) p .r2'
        System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN})'
        ${If} $3 != "$INSTDIR\orvanta.exe"
            System::Call 'kernel32::CloseHandle(p r2)'
            ${Continue}
        ${EndIf}
        ${If} ${Silent}
            SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
            System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i .r4'
            System::Call 'kernel32::CloseHandle(p r2)'
            ${If} $4 != 0 ; not WAIT_OBJECT_0: still running
                Call ${un}Refused
            ${EndIf}
        ${Else}
            System::Call 'kernel32::CloseHandle(p r2)'
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
                "O Orvanta está aberto. Feche o Orvanta e clique em Repetir, ou clique em Cancelar para sair sem alterar nada." \
                IDRETRY retry
            SetErrorLevel 1
            Quit
        ${EndIf}
        retry:
        ; Look again from the first window.
        StrCpy $0 0
    ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_ORVANTA ""
!insertmacro CLOSE_RUNNING_ORVANTA "un."

Section "Orvanta" SecProgram
    SectionIn RO
    Call CloseRunningOrvanta
    SetOutPath "$INSTDIR"
    ; An upgrade overwrites the same files: no file of an older copy is left
    ; behind, since every version installs the same three.
    SetOverwrite on
    File "${STAGE}\orvanta.exe"
    File "${STAGE}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Orvanta.lnk" "$INSTDIR\orvanta.exe" "" "$INSTDIR\orvanta.exe" 0 \
        SW_SHOWNORMAL "" "Calcula a distância focal da lente de câmeras de vídeo e imprime o relatório"

    ; SHCTX: HKLM for all users, HKCU for the current user.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Orvanta"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Vintoral"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.vintoral.com.br/orvanta/"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\orvanta.exe$\",0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ; In kilobytes, as Apps & features reads it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    Call un.CloseRunningOrvanta
    ; The program first: while it cannot be removed, the uninstaller, the
    ; shortcut and the Apps & features entry stay, to try again.
    Delete "$INSTDIR\orvanta.exe"
    ${If} ${FileExists} "$INSTDIR\orvanta.exe"
        MessageBox MB_OK|MB_ICONSTOP "Não foi possível remover $INSTDIR\orvanta.exe. Feche o Orvanta e tente de novo." /SD IDOK
        Call un.Refused
    ${EndIf}
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\Orvanta.lnk"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ; A folder that is the current directory cannot be removed. Without /r:
    ; whatever the user put there is theirs and stays, with the folder.
    SetOutPath "$TEMP"
    RMDir "$INSTDIR"
SectionEnd
