#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Orvanta (Release) with its tests, warnings as errors, and runs the
# whole test suite. A test that is skipped fails the run as a failing one
# does: every test must really run.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh build test
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DORVANTA_WERROR=ON -DORVANTA_BENCHMARK=ON \
    >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)" | tee build/ctest.log
if grep -q -e '(Skipped)' -e '\*\*\*Not Run' build/ctest.log ||
    grep -q '^\[  SKIPPED \]' build/Testing/Temporary/LastTest.log; then
    echo "test.sh: some tests were skipped" >&2
    exit 1
fi
