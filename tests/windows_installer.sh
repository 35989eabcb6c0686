#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine, on a fresh prefix, as an administrator deploying
# it runs it: /S puts orvanta.exe, the uninstaller and the licence into
# Program Files, the shortcut into the all-users Start menu and the entry
# into Apps & features; the installed program opens its window; a second /S
# upgrades in place (a damaged orvanta.exe is replaced, still one entry);
# the uninstaller with /S leaves nothing behind.
# Usage: windows_installer.sh SETUP.exe ORVANTA.exe   (the shipped copy;
#        environment as orvanta_wine_test GUI FRESH_PREFIX gives it)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
setup=${1:?usage: windows_installer.sh SETUP.exe ORVANTA.exe}
shipped=${2:?usage: windows_installer.sh SETUP.exe ORVANTA.exe}
# shellcheck source=tests/wine/env.sh
source "$here/wine/env.sh"
wine_environment
trap '"$WINESERVER_PROGRAM" -k 2>/dev/null || true' EXIT
fail() {
    echo "windows_installer: $*" >&2
    exit 1
}
[ -n "${DISPLAY:-}" ] || fail "no display"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvanta'
windir='C:\Program Files\Orvanta'
dir=$(wine winepath -u "$windir" | tr -d '\r')
link=$(wine winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Orvanta.lnk' | tr -d '\r')
# value NAME: the entry's value NAME as reg prints it, its type and data.
value() { wine reg query "$key" /v "$1" /reg:64 | tr -d '\r' | sed -n "s/^ *$1 \+//p"; }

installed() {
    wine "$setup" /S || fail "the installer ended with status $?"
    cmp "$dir/orvanta.exe" "$shipped" || fail "orvanta.exe is not the shipped one"
    [ -s "$dir/uninstall.exe" ] || fail "no uninstaller"
    grep -q 'GNU GENERAL PUBLIC LICENSE' "$dir/LICENSE.txt" || fail "no licence"
    grep -aqF "$windir\\orvanta.exe" "$link" || fail "no Start-menu shortcut to orvanta.exe"
    local expected name at
    at=${windir//\\/\\\\}\\\\  # the folder as a regular expression: its \ doubled
    expected=(DisplayName "REG_SZ +Orvanta" DisplayVersion "REG_SZ +1\.0" Publisher "REG_SZ +Vintoral"
              DisplayIcon "REG_SZ +\"${at}orvanta\.exe\"(,0)?" NoModify "REG_DWORD +0x1" NoRepair "REG_DWORD +0x1"
              UninstallString "REG_SZ +\"${at}uninstall\.exe\""
              QuietUninstallString "REG_SZ +\"${at}uninstall\.exe\" /S" EstimatedSize "REG_DWORD +0x[0-9a-f]+")
    for ((i = 0; i < ${#expected[@]}; i += 2)); do
        name=${expected[i]}
        value "$name" | grep -qxE "${expected[i + 1]}" || fail "$name is '$(value "$name")'"
    done
    (($(value EstimatedSize | grep -o '0x.*') >= $(stat -c %s "$shipped") / 1024)) || fail "EstimatedSize too small"
    [ "$(wine reg query "${key%\\*}" /s | tr -d '\r' | grep -cE '^ *DisplayName +REG_SZ +Orvanta$')" = 1 ] ||
        fail "not exactly one Orvanta in Apps & features"
}

installed
wine "$windir\\orvanta.exe" &
program=$!
for _ in $(seq 600); do
    xdotool search --onlyvisible --pid "$program" --name "Cálculo de Lentes" >/dev/null && break
    kill -0 "$program" || fail "the installed program ended"
    sleep 0.1
done
xdotool search --onlyvisible --pid "$program" --name "Cálculo de Lentes" >/dev/null || fail "no window"
# Without /F, taskkill asks the windows to close, as the user does.
wine taskkill /im orvanta.exe >/dev/null
wait "$program" || fail "the program ended with status $?"

echo damaged >"$dir/orvanta.exe"
installed

# The uninstaller runs a copy of itself from the temporary folder and
# returns at once: wait until the prefix has no process left.
wine "$dir/uninstall.exe" /S
"$WINESERVER_PROGRAM" -w
[ ! -e "$dir" ] || fail "left in $windir: $(ls -A "$dir")"
[ ! -e "$link" ] || fail "the shortcut is left"
! wine reg query "$key" >/dev/null 2>&1 || fail "the Apps & features entry is left"
echo "windows_installer: installed, started, upgraded and uninstalled"
