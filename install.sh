#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Orvanta's Debian package in build/package and installs it with apt.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh build
package=$(bash scripts/build-package.sh build/package)
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
"${sudo[@]}" apt-get install -y "$package"
