#!/usr/bin/env bash
# Prints the cups-pdf instance name that start.sh and stop.sh use for DIR.
set -euo pipefail
echo "orvanta-test-$(printf '%s' "${1:?usage: instance.sh DIR}" | md5sum | cut -c1-12)"
