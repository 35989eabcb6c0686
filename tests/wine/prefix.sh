#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a fresh Wine prefix at ORVANTA_WINE_PREFIX (whatever was there goes
# first) and waits until Wine has finished setting it up; with --stop, stops
# its wineserver and removes it. ORVANTA_WINE_NO_WINDOW_MANAGER set: for a
# display that has none. ORVANTA_WINE_TEMPLATE set: the prefix is a copy of
# that one (made by this script, its wineserver ended), home folder included.
# Usage: prefix.sh [--stop]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/env.sh
source "$here/env.sh"
wine_environment

remove_prefix() {
    "$WINESERVER_PROGRAM" -k 2>/dev/null || true
    "$WINESERVER_PROGRAM" -w 2>/dev/null || true
    rm -rf "$WINEPREFIX" "$HOME" "$WINEPREFIX.log"
}
remove_prefix
[ "${1:-}" = --stop ] && exit 0
if [ -n "${ORVANTA_WINE_TEMPLATE:-}" ]; then
    cp -a "$ORVANTA_WINE_TEMPLATE" "$WINEPREFIX"
    rm -rf "$HOME"
    cp -a "$ORVANTA_WINE_TEMPLATE.home" "$HOME"
    # The user's folders (Desktop, Documents...) are links to the home
    # folder: the copy's go to its own.
    find "$WINEPREFIX" -type l -lname "$ORVANTA_WINE_TEMPLATE.home*" -print0 | while IFS= read -r -d '' link; do
        target=$(readlink "$link")
        ln -sfn "$HOME${target#"$ORVANTA_WINE_TEMPLATE.home"}" "$link"
    done
    exit
fi
# Without wine32 the set-up cannot run the 32-bit rundll32 and says so; the
# 64-bit prefix is complete all the same. Now and then, with several
# prefixes made at once, Wine's first start does not find wineboot once it
# has set the prefix up ("ShellExecuteEx failed"): a second, fresh prefix
# is made then, the first attempt's output shown.
for attempt in 1 2; do
    mkdir -p "$HOME"
    if wine wineboot -i >"$WINEPREFIX.log" 2>&1; then
        # On a display without a window manager Wine places and activates
        # its windows itself, rather than waiting for one (2 s at every
        # window hidden).
        if [ -n "${ORVANTA_WINE_NO_WINDOW_MANAGER:-}" ]; then
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$WINEPREFIX.log" 2>&1
        fi
        "$WINESERVER_PROGRAM" -w
        test -f "$WINEPREFIX/system.reg"
        exit
    fi
    echo "prefix.sh: attempt $attempt to make $WINEPREFIX failed:" >&2
    cat "$WINEPREFIX.log" >&2
    remove_prefix
done
exit 1
