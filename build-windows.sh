#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds the 64-bit Windows program (Release) into build-windows/ with
# Debian's MinGW-w64 (cmake/mingw-w64.cmake), installing what the build
# needs when it is missing, with its release files (packaging/windows): the
# installer build-windows/Orvanta-1.0-win64-setup.exe and the portable
# build-windows/Orvanta-1.0-win64.zip. The tests' Windows tree is
# build-windows-tests/ (test.sh); the two never share a folder.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh windows
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF >/dev/null
# The program and its release files, once its Win32 window is built; until
# then what there is. grep reads the whole list: with -q it would stop at the
# match, and make, writing the rest into a closed pipe, fail the pipeline.
if cmake --build build-windows --target help | grep -x '\.\.\. orvanta' >/dev/null; then
    cmake --build build-windows -j"$(nproc)" --target orvanta windows_release
else
    echo "build-windows.sh: no orvanta target yet; building the libraries" >&2
    cmake --build build-windows -j"$(nproc)"
fi
