#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Orvanta under Xvfb and saves a picture of its window.
# Usage: scripts/screenshot.sh [executable] [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/app/orvanta}
output=${2:-docs/window.png}

work=$(mktemp -d)
app=""
# shellcheck source=scripts/display.sh
source scripts/display.sh
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; stop_displays; rm -rf "$work"' EXIT
start_xvfb "$work" 1024x768x24 || { echo "screenshot.sh: Xvfb did not start" >&2; exit 1; }
display=$XVFB_DISPLAY
DISPLAY="$display" "$program" &
app=$!

window=""
for _ in $(seq 100); do
    window=$(xwininfo -display "$display" -name "Cálculo de Lentes" 2>/dev/null |
             awk '/Window id:/ {print $4}') && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "screenshot.sh: the window did not appear" >&2; exit 1; }
sleep 1  # let the first paint finish
xwd -display "$display" -id "$window" -silent | convert xwd:- "png:$output"
echo "wrote $output"
