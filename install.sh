#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Orvanta's Debian package and installs it with apt.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build --target orvanta icon_images -j"$(nproc)"
(cd build && cpack -G DEB)
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
"${sudo[@]}" apt-get install -y "$(ls -t "$PWD"/build/orvanta_*.deb | head -n1)"
