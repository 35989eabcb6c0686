#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Orvanta for the browser with Debian's Emscripten: a static site in
# build-web/site/, index.html at its root, for any static host (README).
# Installs the Debian packages it needs when they are missing.
# ./serve-web.sh builds it and serves it on this machine.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh web
# Emscripten's JavaScript optimiser needs node's acorn, which Debian keeps
# in its own folder.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-web --target web_site -j"$(nproc)"
echo "build-web.sh: the site is in $PWD/build-web/site"
