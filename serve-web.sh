#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the browser's Orvanta (./build-web.sh) and serves build-web/site on
# 127.0.0.1 until Ctrl+C, printing the address to open.
# Usage: ./serve-web.sh [PORT]   (8080 unless given; 0 picks a free one)
# The browser keeps the site for offline use per address: the same port
# finds the copy kept before.
set -euo pipefail
cd "$(dirname "$0")"
./build-web.sh
exec /usr/bin/python3 scripts/static_server.py build-web/site "${1:-8080}"
