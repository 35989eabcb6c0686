#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine with the display's dots per inch set as
# Wine's display settings set it (LogPixels).
# Usage: with_dpi.sh DPI PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dpi=${1:?usage: with_dpi.sh DPI PROGRAM.exe [ARGUMENTS...]}
shift
bash "$here/run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
exec bash "$here/run.sh" "$@"
