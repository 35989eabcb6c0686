#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Started without any display, the program says in one line that it needs a
# graphical session and exits non-zero.
set -u
program=${1:?usage: app_without_display.sh ORVANTA}
output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1)
status=$?
echo "exit status $status, output: $output"
[ "$status" -ne 0 ] && [ "$(printf '%s\n' "$output" | wc -l)" -eq 1 ] && [[ "$output" == *"sessão gráfica"* ]]
