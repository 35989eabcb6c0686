#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets a registry value of the prefix as Windows' settings set it (the
# regional decimal separator, the display's dots per inch...), then runs the
# Windows program, when one is given, under Wine.
# Usage: with_setting.sh KEY NAME TYPE DATA [PROGRAM.exe [ARGUMENTS...]]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 4 ] || { echo "usage: with_setting.sh KEY NAME TYPE DATA [PROGRAM.exe [ARGUMENTS...]]" >&2; exit 2; }
bash "$here/run.sh" reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null
shift 4
[ $# -eq 0 ] || exec bash "$here/run.sh" "$@"
