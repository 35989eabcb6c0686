#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a private X server of its own: Xvfb with one screen of
# the given size, the given keyboard layout, and openbox as window manager
# when asked, and in a D-Bus session of its own; everything it starts lives
# in a temporary folder and is stopped afterwards, the command's whole
# process group too (such as the accessibility buses a D-Bus session
# starts). The command gets DISPLAY, QT_QPA_PLATFORM=xcb, HOME and the XDG
# folders inside the temporary folder, and ORVANTA_X11_WINDOW_MANAGER
# (openbox or none).
#
# Usage: tests/x11_session.sh [--screen WIDTHxHEIGHT] [--layout LAYOUT]
#                             [--openbox] -- COMMAND [ARGUMENT...]
# Exit status: the command's; 2 when the session could not be set up.
# shellcheck disable=SC2317  # stop_session runs from the EXIT trap
set -u

here=$(cd "$(dirname "$0")" && pwd)
screen=1280x1024
layout=
openbox=no

fail() {
    echo "x11_session: $*" >&2
    exit 2
}

while [ $# -gt 0 ]; do
    case $1 in
        --screen | --layout)
            [ $# -ge 2 ] || fail "$1 wants a value"
            if [ "$1" = --screen ]; then screen=$2; else layout=$2; fi
            shift 2 ;;
        --openbox) openbox=yes; shift ;;
        --) shift; break ;;
        *) fail "unknown option '$1'" ;;
    esac
done
[ $# -gt 0 ] || fail "no command given"
case $screen in
    [1-9]*x[1-9]*) ;;
    *) fail "--screen wants WIDTHxHEIGHT, not '$screen'" ;;
esac

missing=()
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v xdotool >/dev/null || missing+=(xdotool)
command -v xprop >/dev/null || missing+=(x11-utils)
command -v dbus-run-session >/dev/null || missing+=(dbus-daemon)
[ -z "$layout" ] || command -v setxkbmap >/dev/null || missing+=(x11-xkb-utils)
[ "$openbox" = no ] || command -v openbox >/dev/null || missing+=(openbox)
[ ${#missing[@]} -eq 0 ] || fail "missing Debian packages: ${missing[*]} (bash scripts/deps.sh test)"

work=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-x11.XXXXXX") || fail "cannot make a temporary folder"
wm_pid=
session_pid=
# shellcheck source=scripts/display.sh
source "$here/../scripts/display.sh"

stop_session() {
    [ -z "$session_pid" ] || stop_group "$session_pid"
    [ -z "$wm_pid" ] || stop_process "$wm_pid"
    stop_displays
    rm -rf "$work"
}
trap stop_session EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

start_xvfb "$work" "${screen}x24" || fail "Xvfb did not start"
export DISPLAY=$XVFB_DISPLAY QT_QPA_PLATFORM=xcb ORVANTA_X11_WINDOW_MANAGER=none
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache \
    XDG_DATA_HOME=$work/home/.local/share XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR" || fail "cannot make the session's folders"
# Nothing of the desktop this runs from: no input method but Qt's own
# compose context, and the session bus of dbus-run-session below.
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY SESSION_MANAGER XMODIFIERS QT_IM_MODULE

if [ -n "$layout" ]; then
    setxkbmap -layout "$layout" || fail "setxkbmap could not set the layout '$layout'"
fi
if [ "$openbox" = yes ]; then
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    ORVANTA_X11_WINDOW_MANAGER=openbox
    # Ready once it has announced itself on the root window.
    announced() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    wait_ready 15 "$wm_pid" announced || {
        cat "$work/openbox.log" >&2
        fail "openbox did not start"
    }
fi

# A process group of its own (setsid), so that nothing of it outlives the
# session.
setsid dbus-run-session -- "$@" &
session_pid=$!
wait "$session_pid"
