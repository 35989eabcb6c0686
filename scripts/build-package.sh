#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Orvanta's Debian package in BUILD_DIR with Debian's compiler and
# linker flags, and prints the package's path: build-package.sh BUILD_DIR.
# Everything else the build says goes to standard error.
set -euo pipefail
build=$(realpath -m "${1:?usage: build-package.sh BUILD_DIR}")
cd "$(dirname "$0")/.."
# The modes of the package's folders and members come from the umask: the
# one Debian builds packages with (dpkg-buildpackage's), whatever the caller's.
umask 022

# Debian's hardening flags, all of them: on top of the defaults, immediate
# binding (full RELRO). This dpkg has no feature name yet for stack-clash
# protection, so it comes as the maintainer's addition.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
export DEB_CXXFLAGS_MAINT_APPEND=-fstack-clash-protection
# CMake does not read CPPFLAGS, where _FORTIFY_SOURCE is.
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

# Build type None: the optimisation is the one the flags ask for. The flags
# are given on the command line so that they also reach an existing build
# folder, whose cache would otherwise keep the first ones.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF -DORVANTA_WERROR=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >&2
cmake --build "$build" -j"$(nproc)" >&2
rm -f "$build"/orvanta_*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$build"/orvanta_*.deb
