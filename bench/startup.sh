#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up benchmark: Orvanta against its floor, a bare Qt Widgets window of
# the same size with the same 24 controls. Under Xvfb, each run measures the
# time from spawn to the window being mapped (the X MapNotify event) and the
# resident memory one second later. Runs alternate between the two programs
# after one warm-up run of each. Prints figures; it never fails on speed.
# Usage: bench/startup.sh [runs=9] [orvanta executable=build/app/orvanta]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}
program=${2:-build/app/orvanta}
floor=${FLOOR:-build/bench/bench_floor}
cmake -S . -B build -DORVANTA_BENCHMARK=ON >/dev/null
cmake --build build --target orvanta bench_floor map_wait >/dev/null

runtime=$(mktemp -d)
chmod 700 "$runtime"
# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh
trap 'stop_xvfb; rm -rf "$runtime"' EXIT
start_xvfb "$runtime" 1024x768x24 || { echo "startup.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY="$XVFB_DISPLAY" XDG_RUNTIME_DIR="$runtime"

measure() { build/bench/map_wait "$1" 2>/dev/null | tail -n1; }
measure "$program" >/dev/null
measure "$floor" >/dev/null
: >"$runtime/orvanta" && : >"$runtime/floor"
for i in $(seq "$runs"); do
    if [ $((i % 2)) -eq 1 ]; then order=("$program" "$floor"); else order=("$floor" "$program"); fi
    for target in "${order[@]}"; do
        [ "$target" = "$program" ] && file="$runtime/orvanta" || file="$runtime/floor"
        measure "$target" >>"$file"
    done
done

# Median, minimum and maximum of one field (map_ms or rss_kb) of one file.
stats() {
    sed -n "s/.*$2=\([0-9.]*\).*/\1/p" "$1" | sort -n |
        awk '{v[NR]=$1} END {m = NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2; printf "%.2f %.2f %.2f", m, v[1], v[NR]}'
}
read -r otime otmin otmax <<<"$(stats "$runtime/orvanta" map_ms)"
read -r ftime ftmin ftmax <<<"$(stats "$runtime/floor" map_ms)"
read -r orss ormin ormax <<<"$(stats "$runtime/orvanta" rss_kb)"
read -r frss frmin frmax <<<"$(stats "$runtime/floor" rss_kb)"

echo "Start-up under Xvfb, $runs interleaved runs each after a warm-up (median, min-max)"
printf '%-8s  map %8.1f ms  (%.1f-%.1f)   resident %7.0f kB  (%.0f-%.0f)\n' \
    orvanta "$otime" "$otmin" "$otmax" "$orss" "$ormin" "$ormax" \
    floor "$ftime" "$ftmin" "$ftmax" "$frss" "$frmin" "$frmax"
awk -v a="$otime" -v b="$ftime" -v c="$orss" -v d="$frss" \
    'BEGIN {printf "ratio orvanta/floor: time %.3f, memory %.3f (targets: at most 1.15 each)\n", a / b, c / d}'
