#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine for the tests, and exits with its exit
# code: CMAKE_CROSSCOMPILING_EMULATOR of the MinGW-w64 build.
#   ORVANTA_WINE_PREFIX   the Wine prefix, in the build tree (made by
#                         prefix.sh); required: never ~/.wine
#   ORVANTA_WINE_DISPLAY  optional: the file in which display.sh wrote the
#                         private X server's display; without it the
#                         program runs with no display at all
# Usage: run.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/env.sh
source "$here/env.sh"
wine_environment
exec wine "$@"
