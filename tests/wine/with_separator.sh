#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine with the user's decimal separator set as
# Control Panel's Region sets it.
# Usage: with_separator.sh SEPARATOR PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
separator=${1:?usage: with_separator.sh SEPARATOR PROGRAM.exe [ARGUMENTS...]}
shift
bash "$here/run.sh" reg add 'HKCU\Control Panel\International' /v sDecimal /d "$separator" /f >/dev/null
exec bash "$here/run.sh" "$@"
