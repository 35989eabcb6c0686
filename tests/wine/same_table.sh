#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Linux build's calc_table and the Windows one (under Wine) and
# fails unless they print the same lines; the Windows C runtime writes its
# text output with CR LF line ends, which are made LF first.
# Usage: same_table.sh LINUX_CALC_TABLE WINDOWS_CALC_TABLE.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
linux=${1:?usage: same_table.sh LINUX_CALC_TABLE WINDOWS_CALC_TABLE.exe}
windows=${2:?usage: same_table.sh LINUX_CALC_TABLE WINDOWS_CALC_TABLE.exe}
if [ ! -x "$linux" ]; then
    echo "same_table.sh: no Linux calc_table at $linux: build the Linux tree first" >&2
    exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$linux" >"$out/linux.txt"
bash "$here/run.sh" "$windows" | tr -d '\r' >"$out/windows.txt"
lines=$(wc -l <"$out/linux.txt")
# Enough rows that every choice met fractional and whole values.
if [ "$lines" -lt 3000 ]; then
    echo "same_table.sh: the Linux table has only $lines lines" >&2
    exit 1
fi
diff -u "$out/linux.txt" "$out/windows.txt" | head -n 40 >"$out/diff.txt" || true
if [ -s "$out/diff.txt" ]; then
    echo "same_table.sh: Windows and Linux differ:" >&2
    cat "$out/diff.txt" >&2
    exit 1
fi
echo "same_table.sh: $lines lines alike"
