#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up benchmark: Orvanta against its floor, a bare window of the same
# size with the same 24 controls, under Xvfb. On Linux the floor is a Qt
# Widgets window; with --windows, orvanta.exe and a bare Win32 window with
# the same manifest run under Wine, in a fresh prefix whose wineserver stays
# up between runs. Each run measures the time from spawn to the window being
# mapped (the X MapNotify event) and the resident memory one second later.
# Runs alternate between the two programs after one warm-up run of each.
# Prints figures; it never fails on speed.
# Usage: bench/startup.sh [--windows] [runs=9]
set -euo pipefail
cd "$(dirname "$0")/.."
windows=
if [ "${1:-}" = --windows ]; then
    windows=yes
    shift
fi
runs=${1:-9}
cmake -S . -B build -DORVANTA_BENCHMARK=ON >/dev/null
cmake --build build --target orvanta bench_floor map_wait >/dev/null
program=(build/app/orvanta)
floor=(build/bench/bench_floor)
target=1.15
if [ -n "$windows" ]; then
    bash scripts/deps.sh windows
    cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_TESTING=OFF -DORVANTA_BENCHMARK=ON >/dev/null
    cmake --build build-windows --target orvanta bench_floor >/dev/null
    wine=$(command -v wine)
    program=("$wine" build-windows/app/orvanta.exe)
    floor=("$wine" build-windows/bench/bench_floor.exe)
    target=1.10
fi

runtime=$(mktemp -d)
chmod 700 "$runtime"
# shellcheck source=scripts/display.sh
source scripts/display.sh
# shellcheck source=tests/wine/env.sh
source tests/wine/env.sh
stop_wine() { [ -z "$windows" ] || "$WINESERVER_PROGRAM" -k 2>/dev/null || true; }
trap 'stop_wine; stop_displays; rm -rf "$runtime"' EXIT
start_xvfb "$runtime" 1024x768x24 || { echo "startup.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY="$XVFB_DISPLAY" XDG_RUNTIME_DIR="$runtime"
if [ -n "$windows" ]; then
    echo "${XVFB_DISPLAY#:}" >"$runtime/display"
    ORVANTA_WINE_PREFIX=$runtime/wine ORVANTA_WINE_DISPLAY=$runtime/display wine_environment
    wine wineboot -i >/dev/null 2>&1
    "$WINESERVER_PROGRAM" -w
    "$WINESERVER_PROGRAM" -p
fi

measure() { build/bench/map_wait "$@"; }
measure "${program[@]}" >/dev/null
measure "${floor[@]}" >/dev/null
: >"$runtime/orvanta" && : >"$runtime/floor"
for i in $(seq "$runs"); do
    if [ $((i % 2)) -eq 1 ]; then order=(orvanta floor); else order=(floor orvanta); fi
    for name in "${order[@]}"; do
        if [ "$name" = orvanta ]; then measure "${program[@]}"; else measure "${floor[@]}"; fi >>"$runtime/$name"
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

echo "Start-up under ${windows:+Wine on }Xvfb, $runs interleaved runs each after a warm-up (median, min-max)"
printf '%-8s  map %8.1f ms  (%.1f-%.1f)   resident %7.0f kB  (%.0f-%.0f)\n' \
    orvanta "$otime" "$otmin" "$otmax" "$orss" "$ormin" "$ormax" \
    floor "$ftime" "$ftmin" "$ftmax" "$frss" "$frmin" "$frmax"
awk -v a="$otime" -v b="$ftime" -v c="$orss" -v d="$frss" -v t="$target" \
    'BEGIN {printf "ratio orvanta/floor: time %.3f, memory %.3f (targets: at most %s each)\n", a / b, c / d, t}'
