#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine, on a fresh prefix. /S /CurrentUser installs the
# program, the uninstaller and the licence into the user's programs folder,
# with the user's shortcut and an Apps & features entry under HKCU, and
# nothing for all users; run again without a switch by an administrator (as
# Wine's user is), it upgrades that copy, closing it, and takes no folder from
# the user's entry outside the user's programs folder. The entry's silent
# uninstall fails with 2 and changes nothing while the program runs and does
# not close (stopped); else closes it, returns once all is removed but a file
# the user saved in the folder, and leaves nothing in %TEMP%. /S /AllUsers
# does the same into Program Files, the all-users Start menu and HKLM; /S
# again, with the program running and the folder given by its short name,
# asks its window to close and waits for it; /S replaces a damaged copy in
# place, still with one entry.
# Usage: windows_installer.sh SETUP.exe ORVANTA.exe (the shipped copy) VERSION
#        QUIET_UNINSTALL.exe, in the environment of orvanta_wine_test GUI
#        FRESH_PREFIX
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
setup=$1 shipped=$2 version=$3 quiet_uninstall=$4
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
        "DisplayIcon=\"$at\\orvanta.exe\",0" "UninstallString=\"$at\\uninstall.exe\"" "InstallLocation=$at"; do
        grep -qxF "$line" <<<"$values" || fail "no $line in the entry:"$'\n'"$values"
    done
    (($(sed -n 's/^EstimatedSize=//p' <<<"$values") >= $(stat -c %s "$shipped") / 1024)) || fail "EstimatedSize too small"
    [ "$(wine reg query "${key%\\*}" /s | tr -d '\r' | grep -cx ' *DisplayName *REG_SZ *Orvanta')" = 1 ] ||
        fail "not one Orvanta entry in Apps & features"
}

temp=$(unix_path "$(folder_of TEMP)")

# uninstalled [FILE]: the entry's silent uninstall, as a deployment tool runs
# it, succeeds and has, when it returns, removed everything but the user's
# FILE, and left nothing in %TEMP%.
uninstalled() {
    local before
    before=$(ls -A "$temp")
    wine "$quiet_uninstall" "${key%%\\*}" || fail "the silent uninstall ended with status $?"
    if [ $# = 0 ]; then [ ! -e "$dir" ]; else [ "$(ls -A "$dir")" = "$1" ]; fi ||
        fail "left in $dir: $(ls -A "$dir")"
    [ ! -e "$link" ] || fail "the shortcut $link is left"
    ! wine reg query "$key" >/dev/null 2>&1 || fail "the Apps & features entry $key is left"
    [ "$(ls -A "$temp")" = "$before" ] || fail "left in %TEMP%: $(ls -A "$temp")"
}

started() {
    wine "$at\\orvanta.exe" &
    program=$!
    shown() { xdotool search --onlyvisible --pid "$program" --name 'lculo de Lentes' >/dev/null; }
    wait_ready 60 "$program" shown || fail "the installed program showed no window"
}

# closed: the program, asked by the installer to close, has ended, once the
# installer has returned.
closed() {
    ended() { ! kill -0 "$program" 2>/dev/null || [[ $(ps -o stat= -p "$program") == Z* ]]; }
    for _ in $(seq 50); do ended && break; sleep 0.1; done
    ended || fail "the installer returned with the program still running"
    wait "$program" || fail "the program, asked to close, ended with status $?"
}

use all
all_users=("$dir" "$link")
use user
for_the_user_alone() {
    { [ ! -e "${all_users[0]}" ] && [ ! -e "${all_users[1]}" ] && ! wine reg query "HKLM\\$entry" >/dev/null 2>&1; } ||
        fail "the install for the current user $1 in Program Files, the all-users Start menu or HKLM"
}
installed /CurrentUser
for_the_user_alone wrote
started
elsewhere='C:\users\Public\Orvanta'
wine reg add "$key" /v InstallLocation /d "$elsewhere" /f /reg:64 >/dev/null
installed
closed
for_the_user_alone "run again made a copy"
[ ! -e "$(unix_path "$elsewhere")" ] || fail "the installer took its folder from the user's entry"

# A program that does not answer (stopped) is not closed: the installer and
# the uninstall fail with 2, say why on standard error and leave everything;
# then the uninstall closes the program.
started
kill -STOP "$program"
refused() {
    local status=0
    "$@" 2>"$HOME/errors" || status=$?
    { [ "$status" = 2 ] && cmp -s "$dir/orvanta.exe" "$shipped" && [ -s "$dir/uninstall.exe" ] && [ -e "$link" ] &&
        wine reg query "$key" >/dev/null 2>&1; } ||
        fail "$* with the program running ended with status $status, or changed something"
}
refused wine "$setup" /S
LC_ALL=C grep -q "^O Orvanta aberto em .* 15 s" "$HOME/errors" || fail "the installer did not say why it failed"
refused wine "$quiet_uninstall" HKCU
kill -CONT "$program"
echo 'lente de 8 mm' >"$dir/notas.txt"
uninstalled notas.txt
wait "$program" || fail "the program ended with status $?"
rm -r "$dir"

use all
installed /AllUsers
started
short=$(wine cmd /d /c "dir /x C:\\" | tr -d '\r' | sed -n 's/.*<DIR> *\([^ ]*~[^ ]*\) *Program Files$/\1/p')
[ -n "$short" ] || fail "no short name for C:\\Program Files"
installed "/D=C:\\$short\\Orvanta"
closed
echo damaged >"$dir/orvanta.exe"
installed
uninstalled
echo "windows_installer: installed for the user and for all users, closed, upgraded and uninstalled"
