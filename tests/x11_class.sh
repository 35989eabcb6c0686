#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# On X11 the window's class, which docks and task bars group windows by and
# match to the desktop entry, is the application id, and its title stays
# "Cálculo de Lentes". Starts the program on a private Xvfb and reads
# WM_CLASS and _NET_WM_NAME with xprop, within 30 s.
#
# Usage: tests/x11_class.sh ORVANTA
# Exit status: 0 passed, 1 failed, 2 could not run.
# shellcheck disable=SC2317  # cleanup runs from the EXIT trap
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=${1:?usage: x11_class.sh ORVANTA}
title="Cálculo de Lentes"
app_id=br.com.vintoral.orvanta

for tool in Xvfb xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "x11_class: $tool is missing (bash scripts/deps.sh test)" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-x11.XXXXXX") || exit 2
program_pid=
# shellcheck source=scripts/xvfb.sh
source "$here/../scripts/xvfb.sh"
cleanup() {
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null
        wait "$program_pid" 2>/dev/null
    fi
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$work" 1024x768x24 || { echo "x11_class: Xvfb did not start within 15 s" >&2; exit 2; }
mkdir -m 700 "$work/runtime"

env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$XVFB_DISPLAY" XDG_RUNTIME_DIR="$work/runtime" \
    "$program" </dev/null >"$work/program.log" 2>&1 &
program_pid=$!

window=
for _ in $(seq 300); do
    window=$(xwininfo -display "$XVFB_DISPLAY" -name "$title" 2>/dev/null | awk '/Window id:/ {print $4}')
    [ -n "$window" ] && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "x11_class: FAIL: no window named \"$title\" appeared; the program said:" >&2
    sed 's/^/  /' "$work/program.log" >&2
    exit 1
fi

properties=$(LC_ALL=C.UTF-8 xprop -display "$XVFB_DISPLAY" -notype -id "$window" WM_CLASS _NET_WM_NAME)
echo "$properties"
# WM_CLASS = "instance", "class"
class=$(sed -n 's/^WM_CLASS = "[^"]*", "\([^"]*\)"$/\1/p' <<<"$properties")
name=$(sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p' <<<"$properties")
if [ "$class" = "$app_id" ] && [ "$name" = "$title" ]; then
    echo "x11_class: PASS: class $app_id, title \"$title\""
    exit 0
fi
echo "x11_class: FAIL: expected class \"$app_id\" and title \"$title\", got class \"$class\" and title \"$name\"" >&2
exit 1
