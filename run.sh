#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Orvanta program alone (Release, no tests) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build --target orvanta -j"$(nproc)"
exec build/app/orvanta "$@"
