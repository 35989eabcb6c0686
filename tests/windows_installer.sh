#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine, on a fresh prefix: /S installs the program, the
# uninstaller, the licence, the all-users shortcut and the Apps & features
# entry; the installed program opens its window; /S again replaces a damaged
# copy in place, still with one entry; the uninstaller's /S leaves nothing.
# Usage: windows_installer.sh SETUP.exe ORVANTA.exe (the shipped copy), in
# the environment of orvanta_wine_test GUI FRESH_PREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/env.sh
source "$here/wine/env.sh"
# shellcheck source=scripts/process.sh
source "$here/../scripts/process.sh"
wine_environment
trap '"$WINESERVER_PROGRAM" -k 2>/dev/null || true' EXIT
fail() { echo "windows_installer: $*" >&2; exit 1; }
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvanta' at='C:\Program Files\Orvanta'
dir=$(wine winepath -u "$at" | tr -d '\r')
link=$(wine winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Orvanta.lnk' | tr -d '\r')

installed() {
    wine "$1" /S || fail "the installer ended with status $?"
    { cmp "$dir/orvanta.exe" "$2" && [ -s "$dir/uninstall.exe" ] && grep -q "GNU GENERAL" "$dir/LICENSE.txt"; } ||
        fail "orvanta.exe, uninstall.exe or LICENSE.txt wrong in $dir"
    grep -aqF "$at\\orvanta.exe" "$link" || fail "no Start-menu shortcut to orvanta.exe"
    local values line
    values=$(wine reg query "$key" /reg:64 | tr -d '\r' | sed -E 's/^ +([A-Za-z]+) +REG_[A-Z]+ +/\1=/')
    for line in DisplayName=Orvanta DisplayVersion=1.0 Publisher=Vintoral NoModify=0x1 NoRepair=0x1 \
        "DisplayIcon=\"$at\\orvanta.exe\",0" "UninstallString=\"$at\\uninstall.exe\"" \
        "QuietUninstallString=\"$at\\uninstall.exe\" /S"; do
        grep -qxF "$line" <<<"$values" || fail "no $line in the entry:"$'\n'"$values"
    done
    (($(sed -n 's/^EstimatedSize=//p' <<<"$values") >= $(stat -c %s "$2") / 1024)) || fail "EstimatedSize too small"
    [ "$(wine reg query "${key%\\*}" /s | tr -d '\r' | grep -cx ' *DisplayName *REG_SZ *Orvanta')" = 1 ] ||
        fail "not one Orvanta entry in Apps & features"
}

installed "$1" "$2"
wine "$at\\orvanta.exe" &
program=$!
shown() { xdotool search --onlyvisible --pid "$program" --name 'lculo de Lentes' >/dev/null; }
wait_ready 60 "$program" shown || fail "the installed program showed no window"
wine taskkill /im orvanta.exe >/dev/null # without /F: asks the window to close
wait "$program" || fail "the program ended with status $?"

echo damaged >"$dir/orvanta.exe"
installed "$1" "$2"
# The uninstaller runs a copy of itself from the temporary folder and
# returns at once: wait until the prefix's last process has ended.
wine "$dir/uninstall.exe" /S && "$WINESERVER_PROGRAM" -w
{ [ ! -e "$dir" ] && [ ! -e "$link" ]; } || fail "left behind: $(ls -A "$dir" 2>/dev/null) $(ls "$link" 2>/dev/null)"
! wine reg query "$key" >/dev/null 2>&1 || fail "the Apps & features entry is left"
echo "windows_installer: installed, started, upgraded in place and uninstalled"
