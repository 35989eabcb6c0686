#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Screen-reader check: runs the program on a private X server and D-Bus
# session with Qt's AT-SPI bridge on, prints the window's accessible tree,
# checks that every box, list and button is named by its caption, that the
# window's controls come top to bottom and left to right, and that the number
# boxes describe their accepted range, and works the example (1000 milimetros
# at 5 metros, 1/3" camera, 100 %) through AT-SPI actions and synthesized
# keys, expecting 24 in the result box.
#
# Usage: tests/accessibility.sh [ORVANTA]   (default: build/app/orvanta)
# ORVANTA_A11Y_TIMEOUT (seconds, default 120) bounds the session; start-up
# of the X server and the clean-up add at most 25 s to it.
# Exit status: 0 passed, 1 a check failed, 2 could not run.
# shellcheck disable=SC2317  # the clean-up functions run from the EXIT trap
set -u

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../build/app/orvanta}
budget=${ORVANTA_A11Y_TIMEOUT:-120}
python=/usr/bin/python3   # Debian's interpreter: pyatspi is packaged for it only

fail() {
    echo "accessibility: $*" >&2
    exit 2
}

case $budget in
    '' | *[!0-9]*) fail "ORVANTA_A11Y_TIMEOUT must be a whole number of seconds, not '$budget'" ;;
esac
[ "$budget" -ge 30 ] || fail "ORVANTA_A11Y_TIMEOUT must be at least 30 seconds"
[ -x "$program" ] || fail "no program at $program (build it: cmake --build build --target orvanta)"
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")

missing=()
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v dbus-run-session >/dev/null || missing+=(dbus-daemon)
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi2-core)
"$python" -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
[ ${#missing[@]} -eq 0 ] || fail "missing Debian packages: ${missing[*]} (bash scripts/deps.sh test)"

work=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-a11y.XXXXXX") || fail "cannot make a temporary folder"
session_pid=
# shellcheck source=scripts/xvfb.sh
source "$here/../scripts/xvfb.sh"

# Whether a process group still has a running member (zombies left to init
# do not count).
group_running() {
    local stat rest state pgrp
    for stat in /proc/[0-9]*/stat; do
        rest=$(cat "$stat" 2>/dev/null) || continue
        read -r state _ pgrp _ <<<"${rest##*) }"
        [ "$pgrp" = "$1" ] && [ "$state" != Z ] && return 0
    done
    return 1
}

stop_group() {
    group_running "$1" || return 0
    kill -TERM -- "-$1" 2>/dev/null
    for _ in $(seq 50); do
        group_running "$1" || return 0
        sleep 0.1
    done
    kill -KILL -- "-$1" 2>/dev/null
}

cleanup() {
    # timeout(1) gave the session its own process group: the program, the
    # helper, both buses and the registry all belong to it.
    [ -n "$session_pid" ] && stop_group "$session_pid"
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "accessibility: interrupted" >&2; exit 130' INT
trap 'echo "accessibility: terminated" >&2; exit 143' TERM
trap 'echo "accessibility: hung up" >&2; exit 129' HUP

start_xvfb "$work" 1280x1024x24 || fail "Xvfb did not start within 15 s"
echo "accessibility: Xvfb on $XVFB_DISPLAY"

mkdir -m 700 "$work/runtime"
env -u AT_SPI_BUS_ADDRESS -u DBUS_SESSION_BUS_ADDRESS -u WAYLAND_DISPLAY -u SESSION_MANAGER \
    DISPLAY="$XVFB_DISPLAY" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    timeout -k 5 "$budget" dbus-run-session -- "$python" "$here/accessibility_tree.py" "$program" "$((budget - 10))" \
    </dev/null 2>"$work/session.log" &
session_pid=$!
wait "$session_pid"
status=$?

if [ "$status" -ne 0 ]; then
    echo "accessibility: last lines of the session's own output (buses, registry, program):" >&2
    grep -v 'Failed to set fd limit' "$work/session.log" | tail -n 20 | sed 's/^/  /' >&2
fi
case $status in
    0) ;;
    124 | 137) echo "accessibility: FAIL: no verdict within $budget s (timed out)" >&2; status=1 ;;
    1 | 2) ;;
    *) echo "accessibility: FAIL: the session ended with status $status" >&2; status=2 ;;
esac
exit "$status"
