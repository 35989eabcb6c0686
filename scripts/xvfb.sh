# SPDX-License-Identifier: GPL-3.0-or-later
# A private X server for the scripts that show the window: source this file.

# start_xvfb DIR SCREEN: starts Xvfb with screen SCREEN (such as 1024x768x24)
# on a display number it picks itself and writes into DIR/display once it
# accepts clients. Waits up to 15 s, then sets XVFB_PID and XVFB_DISPLAY
# (":N"); when the server does not come up, prints its last lines and
# returns 1.
start_xvfb() {
    local dir=$1 screen=$2 number
    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "$screen" \
        3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 &
    XVFB_PID=$!
    XVFB_DISPLAY=
    for _ in $(seq 150); do
        # The number counts once its line is complete.
        if read -r number 2>/dev/null <"$dir/display" && [ -n "$number" ]; then
            XVFB_DISPLAY=":$number"
            return 0
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    tail -n 20 "$dir/xvfb.log" >&2
    return 1
}

# stop_xvfb: ends the server that start_xvfb started, killing it when it has
# not stopped within 5 s.
stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] || return 0
    kill -TERM "$XVFB_PID" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}
