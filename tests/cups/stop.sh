#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Stops the private cupsd, and the IPP Everywhere printer with its bus, that
# start.sh DIR started, and removes their files.
# Usage: stop.sh DIR
set -euo pipefail
dir=${1:?usage: stop.sh DIR}

# Only a process that runs on this DIR is ours to stop; a test may have left
# cupsd stopped (SIGSTOP), and then it would not hear SIGTERM.
for name in cupsd ippeve dbus; do
    pid=$(cat "$dir/$name.pid" 2>/dev/null || true)
    if [ -n "$pid" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$dir/"; then
        kill -CONT "$pid"
        kill -TERM "$pid"
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
    fi
done
rm -rf "$dir"
