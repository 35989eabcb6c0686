#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Stops the private cupsd, and the IPP Everywhere printer with its bus, that
# start.sh DIR started, and removes their files.
# Usage: stop.sh DIR
set -euo pipefail
dir=${1:?usage: stop.sh DIR}

pid=$(cat "$dir/cupsd.pid" 2>/dev/null || true)
# Only a cupsd that runs on this DIR's configuration is ours to stop; a test
# may have left it stopped (SIGSTOP), and then it would not hear SIGTERM.
if [ -n "$pid" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$dir/conf/cupsd.conf"; then
    kill -CONT "$pid"
    kill -TERM "$pid"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
fi
# The IPP Everywhere printer and its bus, when they run on this DIR.
for name in ippeve dbus; do
    pid=$(cat "$dir/$name.pid" 2>/dev/null || true)
    if [ -n "$pid" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$dir/"; then
        kill -TERM "$pid"
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
    fi
done
rm -rf "$dir"
