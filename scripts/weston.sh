# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# A private Wayland compositor (headless weston) for the scripts that show
# the window: source this file.
# shellcheck source=scripts/process.sh
source "$(dirname "${BASH_SOURCE[0]}")/process.sh"

# accepts_clients SOCKET: true once a client can connect (the socket file
# comes a moment before weston listens on it).
accepts_clients() {
    /usr/bin/python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' "$1" 2>/dev/null
}

# start_weston DIR: starts weston with its headless backend and no
# configuration file, its socket in a runtime folder of its own,
# DIR/wayland-runtime (mode 0700, as the Wayland runtime folder must be).
# Waits up to 15 s for the socket to accept clients, then sets WESTON_PID,
# WESTON_RUNTIME (the folder, for XDG_RUNTIME_DIR) and WESTON_DISPLAY (the
# socket's name, for WAYLAND_DISPLAY); when weston does not come up, prints
# its last lines and returns 1.
start_weston() {
    local dir=$1
    WESTON_RUNTIME=$dir/wayland-runtime
    WESTON_DISPLAY=wayland-orvanta
    mkdir -m 700 "$WESTON_RUNTIME" || return 1
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$WESTON_RUNTIME" \
        weston --no-config --backend=headless-backend.so --socket="$WESTON_DISPLAY" --idle-time=0 \
        </dev/null >"$dir/weston.log" 2>&1 &
    WESTON_PID=$!
    wait_ready 15 "$WESTON_PID" accepts_clients "$WESTON_RUNTIME/$WESTON_DISPLAY" && return 0
    tail -n 20 "$dir/weston.log" >&2
    return 1
}

# stop_weston: ends the compositor that start_weston started, killing it when
# it has not stopped within 5 s. Its own helper clients (panel, keyboard)
# end with it.
stop_weston() {
    [ -n "${WESTON_PID:-}" ] || return 0
    stop_process "$WESTON_PID"
    WESTON_PID=
}
