#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ source is not formatted as .clang-format says, and prints
# what clang-format would change. Reformat with
#   git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z '*.cpp' '*.h'
else
    find calc win32 window report app bench fuzz tests -name '*.cpp' -print0 -o -name '*.h' -print0
fi | xargs -0 clang-format --dry-run --Werror
