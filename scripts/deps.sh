#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs those of the Debian packages named by the given sets that are
# missing, with sudo when not root.  Sets: build (the program and its Debian
# package, with what the program needs to run well: Qt's Wayland support and
# Qt's own Portuguese texts), test (what the test suite, the benchmark and the
# hardening run add), print (the private spooler of the printing tests; part
# of test), windows (the MinGW-w64 cross build of the Windows program, its
# installer and its tests under Wine, with the private spooler and X server
# they print and show windows on), web (the browser build with Emscripten,
# its release zip, and its tests and benchmark in headless Chromium).
set -euo pipefail

number_text_packages=(libfast-float-dev libfmt-dev)
build_packages=(cmake make g++ qt6-base-dev qt6-wayland libwayland-dev qt6-translations-l10n libcups2-dev
                fonts-liberation librsvg2-bin dpkg-dev file "${number_text_packages[@]}")
print_packages=(cups cups-client cups-filters cups-ipp-utils dbus-daemon poppler-utils python3)
test_packages=(libgtest-dev libx11-dev xvfb weston openbox xdotool x11-xkb-utils x11-apps x11-utils imagemagick clang
               libclang-rt-14-dev clang-format desktop-file-utils python3-pyatspi at-spi2-core dbus-daemon lintian
               appstream devscripts man-db "${print_packages[@]}")
windows_packages=(cmake make g++-mingw-w64-x86-64-posix wine wine64 nsis zip python3-pefile imagemagick librsvg2-bin
                  googletest ghostscript xvfb xdotool fonts-liberation
                  "${print_packages[@]}" "${number_text_packages[@]}")
web_packages=(cmake make g++ emscripten nodejs node-acorn chromium googletest python3 python3-websocket
              librsvg2-bin imagemagick poppler-utils zip fonts-liberation "${number_text_packages[@]}")

wanted=()
for set in "$@"; do
    case "$set" in
        build) wanted+=("${build_packages[@]}") ;;
        test) wanted+=("${test_packages[@]}") ;;
        print) wanted+=("${print_packages[@]}") ;;
        windows) wanted+=("${windows_packages[@]}") ;;
        web) wanted+=("${web_packages[@]}") ;;
        *) echo "deps.sh: unknown package set '$set'" >&2; exit 2 ;;
    esac
done

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
