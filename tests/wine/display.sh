#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The one private X server of the tree's window tests: start writes its
# display number into FILE (FILE.pid keeps its process), stop ends it with
# the wineserver of ORVANTA_WINE_PREFIX, whose desktop ran on it.
# Usage: display.sh start|stop FILE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/display.sh
source "$here/../../scripts/display.sh"
action=${1:?usage: display.sh start|stop FILE}
file=${2:?usage: display.sh start|stop FILE}
dir=$(dirname "$file")
mkdir -p "$dir"

stop() {
    local pid
    pid=$(cat "$file.pid" 2>/dev/null || true)
    # Only an Xvfb is ours to stop.
    if [ -n "$pid" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q '^Xvfb '; then
        stop_process "$pid"
    fi
    rm -rf "$file" "$file.pid" "$file.xvfb"
    if [ -n "${ORVANTA_WINE_PREFIX:-}" ]; then
        # shellcheck source=tests/wine/env.sh
        source "$here/env.sh"
        WINEPREFIX=$ORVANTA_WINE_PREFIX "$WINESERVER_PROGRAM" -k 2>/dev/null || true
    fi
}

case "$action" in
    start)
        stop
        mkdir -p "$file.xvfb"
        # Large enough for the window at 200 % (192 dots per inch).
        start_xvfb "$file.xvfb" 1920x1440x24
        echo "$XVFB_PID" >"$file.pid"
        cp "$file.xvfb/display" "$file"
        echo "Xvfb $XVFB_PID on $XVFB_DISPLAY"
        ;;
    stop) stop ;;
    *) echo "display.sh: unknown action '$action'" >&2; exit 2 ;;
esac
