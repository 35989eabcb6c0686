#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds every release file of the checkout's last commit into dist/: the
# Debian package, the Windows installer and the portable zip, and SHA256SUMS
# over them. Installs the Debian packages it needs when they are missing.
# The same commit gives the same bytes in any folder, at any time, in any
# time zone and with any umask (scripts/check-reproducible.sh checks it):
# every time stamp is the commit's (SOURCE_DATE_EPOCH). Each run builds
# afresh in build-release/.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh build windows
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release.sh: uncommitted changes are built too: the files are not those of $(git rev-parse --short HEAD)" >&2
fi
build=build-release
rm -rf "$build" dist
package=$(bash scripts/build-package.sh "$build/package")
cmake -S . -B "$build/windows" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build/windows" -j"$(nproc)" --target windows_release
mkdir dist
cp "$package" "$build"/windows/Orvanta-*-win64-setup.exe "$build"/windows/Orvanta-*-win64.zip dist/
(cd dist && sha256sum -- *.deb *.exe *.zip >SHA256SUMS && cat SHA256SUMS)
