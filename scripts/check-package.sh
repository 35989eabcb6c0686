#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package in the given build folder, unpacks it into a
# throw-away root and checks that the desktop entry, the program and the
# icons land where the entry says.
set -euo pipefail
build=${1:?usage: check-package.sh BUILD_DIR}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls -t "$build"/orvanta_*.deb | head -n1)
dpkg -x "$package" "$root"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

entry="$root/usr/share/applications/orvanta.desktop"
[ -f "$entry" ] || fail "no desktop entry at /usr/share/applications"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"

exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$root/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not an executable in /usr/bin"
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16 32; do
    image="$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    if [ ! -f "$image" ]; then
        fail "no ${size}x${size} icon named $icon"
    elif [ "$(identify -format '%wx%h' "$image")" != "${size}x${size}" ]; then
        fail "the ${size}x${size} icon is $(identify -format '%wx%h' "$image")"
    fi
done

depends=$(dpkg-deb -f "$package" Depends)
for needed in libqt6widgets6 libqt6printsupport6 libcups2 fonts-liberation; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

echo "checked $(basename "$package"): $failures failure(s)"
[ "$failures" -eq 0 ]
