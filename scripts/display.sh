# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC2034  # the variables set are the callers'
# The private display servers of the scripts that show the window, an X
# server (Xvfb) and a Wayland compositor (headless weston): source this file.
# Each start waits up to 15 s for its server to accept clients; when it does
# not come up, prints the server's last lines and returns 1. stop_displays
# ends whatever was started.
# shellcheck source=scripts/process.sh
source "$(dirname "${BASH_SOURCE[0]}")/process.sh"

# started PID LOG READY...: waits for READY as wait_ready does, printing the
# end of LOG when the server does not come up.
started() {
    local pid=$1 log=$2
    shift 2
    wait_ready 15 "$pid" "$@" && return 0
    tail -n 20 "$log" >&2
    return 1
}

# display_number_written DIR: sets XVFB_DISPLAY once Xvfb has written its
# display number's whole line into DIR/display.
display_number_written() {
    local number
    read -r number 2>/dev/null <"$1/display" && [ -n "$number" ] && XVFB_DISPLAY=":$number"
}

# start_xvfb DIR SCREEN: starts Xvfb with screen SCREEN (such as 1024x768x24)
# on a display number it picks itself and writes into DIR/display once it
# accepts clients; sets XVFB_PID and XVFB_DISPLAY (":N").
start_xvfb() {
    local dir=$1 screen=$2
    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "$screen" \
        3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 &
    XVFB_PID=$!
    XVFB_DISPLAY=
    started "$XVFB_PID" "$dir/xvfb.log" display_number_written "$dir"
}

# accepts_clients SOCKET: true once a client can connect (the socket file
# comes a moment before weston listens on it).
accepts_clients() {
    /usr/bin/python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' "$1" 2>/dev/null
}

# start_weston DIR [OPTION...]: starts weston with its headless backend and
# the weston options given, else with no configuration file, its socket in a
# runtime folder of its own, DIR/wayland-runtime (mode 0700, as the Wayland
# runtime folder must be); sets WESTON_PID, WESTON_RUNTIME (the folder, for
# XDG_RUNTIME_DIR) and WESTON_DISPLAY (the socket's name, for
# WAYLAND_DISPLAY).
start_weston() {
    local dir=$1 options=("${@:2}")
    [ ${#options[@]} -gt 0 ] || options=(--no-config)
    WESTON_RUNTIME=$dir/wayland-runtime
    WESTON_DISPLAY=wayland-orvanta
    mkdir -m 700 "$WESTON_RUNTIME" || return 1
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$WESTON_RUNTIME" \
        weston "${options[@]}" --backend=headless-backend.so --socket="$WESTON_DISPLAY" --idle-time=0 \
        </dev/null >"$dir/weston.log" 2>&1 &
    WESTON_PID=$!
    started "$WESTON_PID" "$dir/weston.log" accepts_clients "$WESTON_RUNTIME/$WESTON_DISPLAY"
}

# stop_displays: ends the servers that start_xvfb and start_weston started,
# killing each that has not stopped within 5 s. Weston's own helper clients
# (panel, keyboard) end with it.
stop_displays() {
    local pid
    for pid in "${XVFB_PID:-}" "${WESTON_PID:-}"; do
        [ -z "$pid" ] || stop_process "$pid"
    done
    XVFB_PID=
    WESTON_PID=
}
