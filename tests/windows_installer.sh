#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine, on a fresh prefix. /S /CurrentUser installs the
# program, the uninstaller and the licence into the user's programs folder,
# with the user's shortcut and an Apps & features entry under HKCU, and
# nothing for all users; its uninstaller leaves nothing. /S /AllUsers does
# the same into Program Files, the all-users Start menu and HKLM; the
# installed program opens its window; /S again, with the program running,
# asks its window to close and waits for it; /S replaces a damaged copy in
# place, still with one entry. The uninstaller's /S fails and changes
# nothing while the program runs and does not close (stopped), and closes
# it when it can.
# Usage: windows_installer.sh SETUP.exe ORVANTA.exe (the shipped copy) VERSION,
# in the environment of orvanta_wine_test GUI FRESH_PREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/env.sh
source "$here/wine/env.sh"
# shellcheck source=scripts/process.sh
source "$here/../scripts/process.sh"
wine_environment
program=
trap 'kill -CONT "$program" 2>/dev/null || true; "$WINESERVER_PROGRAM" -k 2>/dev/null || true' EXIT
fail() { echo "windows_installer: $*" >&2; exit 1; }
setup=$1 shipped=$2 version=$3
entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvanta'
unix_path() { wine winepath -u "$1" | tr -d '\r'; }
folder_of() { wine cmd /c echo "%$1%" | tr -d '\r'; }

# use all|user: the folder, entry and Start menu of that kind of install.
use() {
    if [ "$1" = all ]; then
        at='C:\Program Files\Orvanta' key="HKLM\\$entry" menu='C:\ProgramData\Microsoft\Windows\Start Menu'
    else
        at="$(folder_of LOCALAPPDATA)\\Programs\\Orvanta" key="HKCU\\$entry"
        menu="$(folder_of APPDATA)\\Microsoft\\Windows\\Start Menu"
    fi
    dir=$(unix_path "$at") link=$(unix_path "$menu\\Programs\\Orvanta.lnk")
}

# installed [SWITCH]: installs silently and checks the install of the kind in use.
installed() {
    wine "$setup" /S "$@" || fail "the installer $* ended with status $?"
    { cmp "$dir/orvanta.exe" "$shipped" && [ -s "$dir/uninstall.exe" ] && grep -q "GNU GENERAL" "$dir/LICENSE.txt"; } ||
        fail "orvanta.exe, uninstall.exe or LICENSE.txt wrong in $dir"
    grep -aqF "$at\\orvanta.exe" "$link" || fail "no Start-menu shortcut $link to orvanta.exe"
    local values line
    values=$(wine reg query "$key" /reg:64 | tr -d '\r' | sed -E 's/^ +([A-Za-z]+) +REG_[A-Z]+ +/\1=/')
    for line in DisplayName=Orvanta "DisplayVersion=$version" Publisher=Vintoral NoModify=0x1 NoRepair=0x1 \
        "DisplayIcon=\"$at\\orvanta.exe\",0" "UninstallString=\"$at\\uninstall.exe\"" \
        "QuietUninstallString=\"$at\\uninstall.exe\" /S" "InstallLocation=$at"; do
        grep -qxF "$line" <<<"$values" || fail "no $line in the entry:"$'\n'"$values"
    done
    (($(sed -n 's/^EstimatedSize=//p' <<<"$values") >= $(stat -c %s "$shipped") / 1024)) || fail "EstimatedSize too small"
    [ "$(wine reg query "${key%\\*}" /s | tr -d '\r' | grep -cx ' *DisplayName *REG_SZ *Orvanta')" = 1 ] ||
        fail "not one Orvanta entry in Apps & features"
}

# uninstalled: the uninstaller runs a copy of itself from the temporary
# folder and returns at once: wait until the prefix's last process has ended.
uninstalled() {
    wine "$dir/uninstall.exe" /S && "$WINESERVER_PROGRAM" -w
    { [ ! -e "$dir" ] && [ ! -e "$link" ]; } || fail "left behind: $(ls -A "$dir" 2>/dev/null) $(ls "$link" 2>/dev/null)"
    ! wine reg query "$key" >/dev/null 2>&1 || fail "the Apps & features entry $key is left"
}

started() {
    wine "$at\\orvanta.exe" &
    program=$!
    shown() { xdotool search --onlyvisible --pid "$program" --name 'lculo de Lentes' >/dev/null; }
    wait_ready 60 "$program" shown || fail "the installed program showed no window"
}

use all
all_users=("$dir" "$link")
use user
installed /CurrentUser
{ [ ! -e "${all_users[0]}" ] && [ ! -e "${all_users[1]}" ] && ! wine reg query "HKLM\\$entry" >/dev/null 2>&1; } ||
    fail "the install for the current user wrote into Program Files, the all-users Start menu or HKLM"
# A program that does not answer (stopped) is not closed: the uninstaller,
# run in place (_?=, which takes no quotes, so a folder without blanks) to
# give its status, fails and leaves everything; then it closes the program.
started
kill -STOP "$program"
! wine "$dir/uninstall.exe" /S "_?=$at" || fail "the uninstaller succeeded with the program running"
{ [ -s "$dir/orvanta.exe" ] && [ -s "$dir/uninstall.exe" ] && [ -e "$link" ] &&
    wine reg query "$key" >/dev/null 2>&1; } ||
    fail "the failed uninstall removed something"
kill -CONT "$program"
uninstalled
wait "$program" || fail "the program ended with status $?"

use all
installed /AllUsers
started
installed
# The installer returned once the program had ended, closed by its window.
ended() { ! kill -0 "$program" 2>/dev/null || [[ $(ps -o stat= -p "$program") == Z* ]]; }
for _ in $(seq 50); do ended && break; sleep 0.1; done
ended || fail "the installer returned with the program still running"
wait "$program" || fail "the program, asked to close, ended with status $?"
echo damaged >"$dir/orvanta.exe"
installed
uninstalled
echo "windows_installer: installed for the user and for all users, closed, upgraded and uninstalled"
