#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser's Orvanta: the site's compressed size and its start-up in
# headless Chromium against a bare page with the same controls
# (bench/web_startup.py), after building the site (./build-web.sh).
# Prints figures; it never fails on speed.
# Usage: bench/web_startup.sh [runs=21]
set -euo pipefail
cd "$(dirname "$0")/.."
./build-web.sh >/dev/null
exec /usr/bin/python3 bench/web_startup.py build-web/site "${1:-21}"
