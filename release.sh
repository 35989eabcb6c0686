#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds every release file of the checkout's last commit into dist/: the
# Debian package, the Windows installer and the portable zip, the browser's
# site as a zip, and SHA256SUMS over them. Installs the Debian packages it
# needs when they are missing.
# The same commit gives the same bytes in any folder, at any time, in any
# time zone and with any umask (scripts/check-reproducible.sh checks it):
# every time stamp is the commit's (SOURCE_DATE_EPOCH). Each run builds
# afresh in build-release/.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh build windows web
# Emscripten's JavaScript optimiser needs node's acorn, which Debian keeps
# in its own folder.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release.sh: uncommitted changes are built too: the files are not those of $(git rev-parse --short HEAD)" >&2
fi
build="build-release"
rm -rf "$build" dist
mkdir -p "$build"
# The Debian package and the Windows files are built side by side: each
# build has steps that use one core (configuring, packing, compressing).
echo "release.sh: building the Debian package (log: $build/package.log) and the Windows files"
bash scripts/build-package.sh "$build/package" >"$build/package.path" 2>"$build/package.log" &
linux=$!
status=0
cmake -S . -B "$build/windows" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF >/dev/null && cmake --build "$build/windows" -j"$(nproc)" --target windows_release ||
    status=$?
# The browser's site, as ./build-web.sh builds it.
[ "$status" -ne 0 ] || { emcmake cmake -S . -B "$build/web" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null &&
    cmake --build "$build/web" -j"$(nproc)" --target web_site; } || status=$?
if ! wait "$linux"; then
    cat "$build/package.log" >&2
    echo "release.sh: the Debian package failed to build" >&2
    status=1
fi
[ "$status" -eq 0 ] || exit "$status"
mkdir dist
cp "$(cat "$build/package.path")" "$build"/windows/Orvanta-*-win64-setup.exe "$build"/windows/Orvanta-*-win64.zip dist/
# The site's files at the zip's top, to be put at the host's folder as they
# are; in name order, with the commit's time and fixed modes, without owners
# or extra time fields (-X); the times are written in UTC, since a zip's
# times are local.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/web/CMakeCache.txt")
chmod 0644 "$build"/web/site/*
touch --no-dereference --date=@"$SOURCE_DATE_EPOCH" "$build"/web/site/*
(cd "$build/web/site" && export LC_ALL=C TZ=UTC0 && zip -q -X -D "$OLDPWD/dist/Orvanta-$version-web.zip" *)
(cd dist && sha256sum -- *.deb *.exe *.zip >SHA256SUMS && cat SHA256SUMS)
