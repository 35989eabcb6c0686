#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Orvanta (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
exec build/app/orvanta "$@"
