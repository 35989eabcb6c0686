# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Waiting for and stopping the private servers and programs that the scripts
# start: source this file.

# wait_ready SECONDS PID COMMAND...: runs COMMAND every 0.1 s until it
# succeeds, for SECONDS at most; fails at once when the process PID has ended.
wait_ready() {
    local seconds=$1 pid=$2
    shift 2
    for _ in $(seq $((seconds * 10))); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# stop_process PID: ends the process, killing it when it has not stopped
# within 5 s, and reaps it.
stop_process() {
    local pid=$1
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# group_running PGID: whether a process of the group still runs (zombies
# left to init do not count).
group_running() {
    local stat rest state pgrp
    for stat in /proc/[0-9]*/stat; do
        rest=$(cat "$stat" 2>/dev/null) || continue
        read -r state _ pgrp _ <<<"${rest##*) }"
        [ "$pgrp" = "$1" ] && [ "$state" != Z ] && return 0
    done
    return 1
}

# stop_group PGID: ends every process of the group, killing those that have
# not stopped within 5 s.
stop_group() {
    kill -TERM -- "-$1" 2>/dev/null || return 0
    for _ in $(seq 50); do
        group_running "$1" || return 0
        sleep 0.1
    done
    kill -KILL -- "-$1" 2>/dev/null
}
