#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# On a session with only Wayland (WAYLAND_DISPLAY set, no DISPLAY, no
# QT_QPA_PLATFORM), the window comes up natively. Under a private headless
# weston the program's own Wayland requests (WAYLAND_DEBUG=client) must show
# its toplevel titled "Cálculo de Lentes" with the app id of its desktop
# entry, then the compositor's configure acknowledged and a buffer drawn, all
# within 30 s, with the program still running. Weston leaves the title bar to
# the program, and Qt's own has minimise and maximise buttons: the window
# draws its own, so Qt's is off. The buffer drawn is then the window itself,
# 822 pixels wide as its client area and taller by the window's own bar, and
# its fixed size (minimum and maximum) is that size. On weston's screenshot,
# the window is that size, and the right end of its bar has one button,
# where Qt's has close, maximise and minimise.
#
# Usage: tests/wayland_window.sh ORVANTA [SCREENSHOT]
# SCREENSHOT: where to keep weston's screenshot (a PNG image).
# Exit status: 0 passed, 1 failed, 2 could not run.
# shellcheck disable=SC2317  # cleanup runs from the EXIT trap
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=${1:?usage: wayland_window.sh ORVANTA [SCREENSHOT]}
screenshot=${2:-}
title="Cálculo de Lentes"
app_id=br.com.vintoral.orvanta

command -v weston >/dev/null || { echo "wayland_window: weston is missing (bash scripts/deps.sh test)" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-wayland.XXXXXX") || exit 2
program_pid=
# shellcheck source=scripts/display.sh
source "$here/../scripts/display.sh"
cleanup() {
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null
        wait "$program_pid" 2>/dev/null
    fi
    stop_displays
    rm -rf "$work"
}
trap cleanup EXIT
# A plain background and no panel, so that the screenshot shows the window
# alone; --debug lets weston-screenshooter take it.
printf '[shell]\npanel-position=none\nbackground-color=0xff204060\n' >"$work/weston.ini"
start_weston "$work" --config="$work/weston.ini" --debug --use-pixman --width=1024 --height=768 ||
    { echo "wayland_window: weston did not start within 15 s" >&2; exit 2; }

env -u DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE -u XDG_CURRENT_DESKTOP -u XDG_SESSION_DESKTOP \
    WAYLAND_DISPLAY="$WESTON_DISPLAY" XDG_RUNTIME_DIR="$WESTON_RUNTIME" WAYLAND_DEBUG=client \
    "$program" </dev/null >"$work/program.log" 2>&1 &
program_pid=$!

# The requests in the order a shown window makes them: its toplevel's title
# and app id, the acknowledged configure, a buffer attached to a surface;
# then a callback's answer, which the compositor sends once it has taken
# the requests before it, so that the screenshot has the buffer.
window_shown() {
    awk -v title="set_title(\"$title\")" -v app_id="set_app_id(\"$app_id\")" '
        / -> xdg_toplevel@/ && index($0, title) { titled = 1 }
        / -> xdg_toplevel@/ && index($0, app_id) { named = 1 }
        titled && named && / -> xdg_surface@[0-9]+\.ack_configure\(/ { configured = 1 }
        configured && / -> wl_surface@[0-9]+\.attach\(wl_buffer@/ { drawn = 1 }
        drawn && /\] wl_callback@[0-9]+\.done\(/ { taken = 1 }
        END { exit !taken }' "$work/program.log"
}

# Qt's title bar would widen the buffer by its borders and leave it larger
# than the window's fixed size.
own_title_bar() {
    awk -v client_height=595 '
        / -> / { arguments = $0; sub(/.*\(/, "", arguments); split(arguments, a, /[), ]+/) }
        / -> xdg_toplevel@[0-9]+\.set_min_size\(/ { min = a[1] "x" a[2] }
        / -> xdg_toplevel@[0-9]+\.set_max_size\(/ { max = a[1] "x" a[2] }
        / -> wl_shm_pool@[0-9]+\.create_buffer\(/ { buffer = a[5] "x" a[6]; wide = a[5] == 822; taller = a[6] > client_height }
        END {
            printf "  fixed size %s to %s, buffer %s\n", min, max, buffer
            exit !(wide && taller && min == buffer && max == buffer) }' "$work/program.log"
}

# buttons_on_screen: takes weston's screenshot and finds the window on the
# plain background: its size, and the buttons at the right end of its bar
# (the rows above the 595-pixel client area), as groups of columns that
# differ from the bar's colour, a gap of 3 pixels or more between two.
buttons_on_screen() {
    (cd "$work" && timeout 20 env WAYLAND_DISPLAY="$WESTON_DISPLAY" XDG_RUNTIME_DIR="$WESTON_RUNTIME" \
        weston-screenshooter >/dev/null 2>&1) || { echo "  weston-screenshooter failed"; return 1; }
    local shot
    shot=$(ls "$work"/wayland-screenshot-*.png) || return 1
    [ -z "$screenshot" ] || cp "$shot" "$screenshot"
    convert "$shot" -depth 8 ppm:- | python3 -c '
import collections, re, sys
data = sys.stdin.buffer.read()
header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
width, height, pixels = int(header[1]), int(header[2]), data[header.end():]
def at(x, y):
    return pixels[3 * (y * width + x):3 * (y * width + x) + 3]
background = at(0, 0)
window = [(x, y) for y in range(height) for x in range(width) if at(x, y) != background]
if not window:
    sys.exit("  the window is not on the screen")
left, right = min(x for x, _ in window), max(x for x, _ in window)
top, bottom = min(y for _, y in window), max(y for _, y in window)
bar = bottom + 1 - top - 595
colour = collections.Counter(at(x, top + bar // 2) for x in range(left, right + 1)).most_common(1)[0][0]
end = range(right - (right - left) // 4, right + 1)
marked = [any(at(x, y) != colour for y in range(top + 2, top + bar - 2)) for x in end]
groups, gap = 0, 3
for i, mark in enumerate(marked):
    groups += mark and not any(marked[max(0, i - gap):i])
print(f"  on the screen: window {right + 1 - left}x{bottom + 1 - top}, "
      f"groups drawn at the right end of its bar (buttons, its edge): {groups}")
sys.exit(not (right + 1 - left == 822 and bar > 0 and groups == 1))'
}

verdict=0
shown=0
wait_ready 30 "$program_pid" window_shown || { verdict=1; shown=1; }
echo "the window's own title bar:"
own_title_bar || { verdict=1; echo "wayland_window: FAIL: the window is not its client area and its own bar" >&2; }
buttons_on_screen || { verdict=1; echo "wayland_window: FAIL: the title bar has other buttons than close" >&2; }
kill -0 "$program_pid" 2>/dev/null || { verdict=1; echo "wayland_window: the program ended" >&2; }

echo "the window's toplevel requests:"
grep -E ' -> xdg_toplevel@[0-9]+\.(set_title|set_app_id)\(' "$work/program.log" | sed 's/^/  /'
if [ "$verdict" -eq 0 ]; then
    echo "wayland_window: PASS: \"$title\" came up on Wayland with app id $app_id"
elif [ "$shown" -ne 0 ]; then
    echo "wayland_window: FAIL: no toplevel titled \"$title\" with app id $app_id was configured and drawn" >&2
    echo "the program's own output (Wayland protocol lines left out):" >&2
    grep -v '^\[' "$work/program.log" | tail -n 20 | sed 's/^/  /' >&2
fi
exit "$verdict"
