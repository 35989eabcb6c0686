#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a fresh Wine prefix at ORVANTA_WINE_PREFIX (whatever was there goes
# first) and waits until Wine has finished setting it up; with --stop, stops
# its wineserver and removes it.
# Usage: prefix.sh [--stop]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/env.sh
source "$here/env.sh"
wine_environment

"$WINESERVER_PROGRAM" -k 2>/dev/null || true
"$WINESERVER_PROGRAM" -w 2>/dev/null || true
rm -rf "$WINEPREFIX" "$HOME" "$WINEPREFIX.log"
[ "${1:-}" = --stop ] && exit 0
mkdir -p "$HOME"
# Without wine32 the set-up cannot run the 32-bit rundll32 and says so; the
# 64-bit prefix is complete all the same.
wine wineboot -i >"$WINEPREFIX.log" 2>&1 || {
    cat "$WINEPREFIX.log" >&2
    exit 1
}
"$WINESERVER_PROGRAM" -w
test -f "$WINEPREFIX/system.reg"
