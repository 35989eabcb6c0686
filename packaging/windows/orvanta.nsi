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
; /S installs (and the uninstaller uninstalls) without a window, and says
; why it failed as a line on standard error. /AllUsers or /CurrentUser
; chooses the install, else the kind of an installed copy, else an
; administrator is offered both (all users first) and anyone else installs
; for themselves. Run again over an installed copy, it replaces it in place.
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
; An installed copy gives the mode: all users' when there is one, else the
; user's (MultiUser.nsh reads HKLM, then HKCU).
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinMessages.nsh
!include WordFunc.nsh

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

; Functions of both the installer and the uninstaller; ALL_USERS_REFUSED
; says that this user may not change an install for all users.
!macro COMMON_FUNCTIONS un ALL_USERS_REFUSED
; Refuse: ends the run with exit code 2, having changed nothing, and says
; why (the text on the stack): in a message box, or, silently, as a line on
; standard error, which a deployment tool or "2> file" keeps.
Function ${un}Refuse
    Pop $R9
    ${If} ${Silent}
        System::Call 'kernel32::GetStdHandle(i -12) p .R8'
        FileWrite $R8 "$R9$\r$\n"
    ${Else}
        MessageBox MB_OK|MB_ICONSTOP $R9
    ${EndIf}
    SetErrorLevel 2
    Quit
FunctionEnd

; LongName: the path on the stack, full and with the long name of every
; part that exists, so that a short name or ".." compares as the same folder.
Function ${un}LongName
    System::Store S
    Pop $0
    System::Call 'kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2'
    ${If} $2 <> 0
        StrCpy $0 $1
    ${EndIf}
    System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
    ${If} $2 <> 0
        StrCpy $0 $1
    ${EndIf}
    Push $0
    System::Store L
FunctionEnd

; /AllUsers without an administrator is refused here, before MultiUser.nsh,
; whose message box would show even in a silent run.
Function ${un}AllUsersNeedAdministrator
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AllUsers" $1
    ${IfNot} ${Errors}
        UserInfo::GetAccountType
        Pop $1
        ${If} $1 != "Admin"
        ${AndIf} $1 != "Power"
            Push "${ALL_USERS_REFUSED}"
            Call ${un}Refuse
        ${EndIf}
    ${EndIf}
FunctionEnd
!macroend
!define ALL_USERS_UNINSTALL_REFUSED \
    "O Orvanta foi instalado para todos os usuários: só um administrador pode removê-lo."
!insertmacro COMMON_FUNCTIONS "" \
    "A sua conta não tem permissão para instalar o Orvanta para todos os usuários deste computador."
!insertmacro COMMON_FUNCTIONS "un." "${ALL_USERS_UNINSTALL_REFUSED}"

; An installed copy of the chosen kind is upgraded where it is. The user's
; entry is anyone's to write who runs as the user: an installer running as an
; administrator takes its folder only inside the user's own programs folder,
; else installs into the default one.
Function InstalledCopy
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == ""
        Return
    ${EndIf}
    ; An administrator (or power user), as MultiUser.nsh tells them apart.
    ${If} $MultiUser.InstallMode == "CurrentUser"
    ${AndIf} $MultiUser.Privileges != "User"
    ${AndIf} $MultiUser.Privileges != "Guest"
        Push $0
        Call LongName
        Pop $0
        Push "$LOCALAPPDATA\Programs"
        Call LongName
        Pop $1
        StrLen $2 "$1\"
        StrCpy $3 $0 $2
        ${If} $3 != "$1\"
            Return
        ${EndIf}
    ${EndIf}
    StrCpy $INSTDIR $0
FunctionEnd

Var GivenFolder
Function .onInit
    ; The 64-bit registry, whatever the installer's own bitness.
    SetRegView 64
    Call AllUsersNeedAdministrator
    ; /D=... on the command line wins over the folder the mode chooses.
    StrCpy $GivenFolder $INSTDIR
    !insertmacro MULTIUSER_INIT
    ${If} $GivenFolder != ""
        StrCpy $INSTDIR $GivenFolder
    ${EndIf}
FunctionEnd

; The uninstaller belongs to the install whose entry names its folder: the
; current user's, else all users' (which needs an administrator).
Function un.onInit
    SetRegView 64
    Call un.AllUsersNeedAdministrator
    !insertmacro MULTIUSER_UNINIT
    Push $INSTDIR
    Call un.LongName
    Pop $INSTDIR
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    Push $0
    Call un.LongName
    Pop $0
    ${If} $0 == $INSTDIR
        Call un.MultiUser.InstallMode.CurrentUser
    ${Else}
        Call un.MultiUser.InstallMode.AllUsers
        ${If} $MultiUser.InstallMode != "AllUsers"
            Push "${ALL_USERS_UNINSTALL_REFUSED}"
            Call un.Refuse
        ${EndIf}
    ${EndIf}
FunctionEnd

; Closes the copy of Orvanta that runs from $INSTDIR, if any, before its
; files change. With a window the user is asked to close it and retry;
; silently its window is asked to close (WM_CLOSE, as Windows asks a program
; to close) and the install stops, changing nothing, when it has not ended
; within 15 s (5 for the window to take the message, 10 to end). Another
; copy (the portable one, another install) is left alone.
!macro CLOSE_RUNNING_ORVANTA un
Function ${un}CloseRunningOrvanta
    Push "$INSTDIR\orvanta.exe"
    Call ${un}LongName
    Pop $5
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
        Push $3
        Call ${un}LongName
        Pop $3
        ${If} $3 != $5
            System::Call 'kernel32::CloseHandle(p r2)'
            ${Continue}
        ${EndIf}
        ${If} ${Silent}
            SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
            System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i .r4'
            System::Call 'kernel32::CloseHandle(p r2)'
            ${If} $4 != 0 ; not WAIT_OBJECT_0: still running
                Push "O Orvanta aberto em $INSTDIR não fechou em 15 s: nada foi alterado."
                Call ${un}Refuse
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
    ; The folder by its long name, in the entry too, however /D= named it.
    SetOutPath "$INSTDIR"
    Push $INSTDIR
    Call LongName
    Pop $INSTDIR
    Call CloseRunningOrvanta
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
    ; The silent uninstall runs the uninstaller in place (_?=, which takes
    ; the rest of the line, unquoted: cmd's & and ^ escaped), so that it
    ; leaves no copy of itself in %TEMP%. cmd waits for it and exits with 2
    ; when it failed, having changed nothing; else removes it and its folder,
    ; which a running program cannot, and exits with 0. (if errorlevel, as
    ; Wine's cmd does not honour && after a program.)
    ${WordReplace} $INSTDIR "^" "^^" "+" $0
    ${WordReplace} $0 "&" "^&" "+" $0
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$SYSDIR\cmd.exe" /d /c start "" /wait "$INSTDIR\uninstall.exe" /S _?=$0& if errorlevel 1 (exit 2) else (del "$INSTDIR\uninstall.exe" & rd "$INSTDIR" 2>nul & exit 0)'
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
        Push "Não foi possível remover $INSTDIR\orvanta.exe. Feche o Orvanta e tente de novo."
        Call un.Refuse
    ${EndIf}
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$SMPROGRAMS\Orvanta.lnk"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ; Run in place, as the entry's silent uninstall runs it, the uninstaller
    ; cannot remove itself: cmd does, after it. Run from its copy in %TEMP%
    ; (uninstall.exe started alone), it removes itself and the folder here.
    ; A folder that is the current directory cannot be removed. Without /r:
    ; whatever the user put there is theirs and stays, with the folder.
    Delete "$INSTDIR\uninstall.exe"
    SetOutPath "$TEMP"
    RMDir "$INSTDIR"
SectionEnd
