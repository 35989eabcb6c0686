#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Orvanta (Release) with its tests, warnings as errors, and runs the
# whole test suite; then the same for the Windows build (cross-built with
# MinGW-w64 into build-windows-tests/, its tests run under Wine and compared
# with the Linux build's), and for the browser build (Emscripten into
# build-web-tests/, its tests in headless Chromium). A test that is skipped
# fails the run as a failing one does: every test must really run.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh build test windows
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DORVANTA_WERROR=ON -DORVANTA_BENCHMARK=ON \
    >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)" | tee build/ctest.log
# fail_on_skipped DIR: fails when the run in DIR skipped a test.
fail_on_skipped() {
    if grep -q -e '(Skipped)' -e '\*\*\*Not Run' "$1/ctest.log" ||
        grep -q '^\[  SKIPPED \]' "$1/Testing/Temporary/LastTest.log"; then
        echo "test.sh: some tests were skipped in $1" >&2
        exit 1
    fi
}
fail_on_skipped build

cmake -S . -B build-windows-tests -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=ON -DORVANTA_WERROR=ON -DORVANTA_LINUX_BUILD="$PWD/build" >/dev/null
cmake --build build-windows-tests -j"$(nproc)"
ctest --test-dir build-windows-tests --output-on-failure --no-tests=error -j"$(nproc)" |
    tee build-windows-tests/ctest.log
fail_on_skipped build-windows-tests

# Emscripten's JavaScript optimiser needs node's acorn, which Debian keeps
# outside node's own folders.
bash scripts/deps.sh web
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
emcmake cmake -S . -B build-web-tests -DBUILD_TESTING=ON -DORVANTA_WERROR=ON -DORVANTA_LINUX_BUILD="$PWD/build" \
    >/dev/null
cmake --build build-web-tests -j"$(nproc)"
ctest --test-dir build-web-tests --output-on-failure --no-tests=error -j"$(nproc)" | tee build-web-tests/ctest.log
fail_on_skipped build-web-tests
