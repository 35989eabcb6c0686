# SPDX-License-Identifier: GPL-3.0-or-later
# A private X server for the scripts that show the window: source this file.
# shellcheck source=scripts/process.sh
source "$(dirname "${BASH_SOURCE[0]}")/process.sh"

# display_number_written DIR: sets XVFB_DISPLAY once Xvfb has written its
# display number's whole line into DIR/display.
display_number_written() {
    local number
    read -r number 2>/dev/null <"$1/display" && [ -n "$number" ] && XVFB_DISPLAY=":$number"
}

# start_xvfb DIR SCREEN: starts Xvfb with screen SCREEN (such as 1024x768x24)
# on a display number it picks itself and writes into DIR/display once it
# accepts clients. Waits up to 15 s, then sets XVFB_PID and XVFB_DISPLAY
# (":N"); when the server does not come up, prints its last lines and
# returns 1.
start_xvfb() {
    local dir=$1 screen=$2
    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "$screen" \
        3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 &
    XVFB_PID=$!
    XVFB_DISPLAY=
    wait_ready 15 "$XVFB_PID" display_number_written "$dir" && return 0
    tail -n 20 "$dir/xvfb.log" >&2
    return 1
}

# stop_xvfb: ends the server that start_xvfb started, killing it when it has
# not stopped within 5 s.
stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] || return 0
    stop_process "$XVFB_PID"
    XVFB_PID=
}
