#!/usr/bin/env bash
# Starts Orvanta under Xvfb and saves a picture of its window.
# Usage: scripts/screenshot.sh [executable] [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/app/orvanta}
output=${2:-docs/window.png}

# Xvfb picks a free display number and writes it to the given descriptor.
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
app=""
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; kill "$xvfb" 2>/dev/null; rm -f "$displayfile"' EXIT
for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.1
done
display=":$(head -n1 "$displayfile")"
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
