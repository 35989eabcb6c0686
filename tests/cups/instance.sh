#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the cups-pdf instance name that start.sh and stop.sh use for DIR.
set -euo pipefail
echo "orvanta-test-$(printf '%s' "${1:?usage: instance.sh DIR}" | md5sum | cut -c1-12)"
