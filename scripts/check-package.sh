#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Unpacks the Debian package that scripts/build-package.sh made in BUILD_DIR
# into a throw-away root and checks that every file is where Debian and the
# desktop look for it, that the program is stripped and hardened, and that
# the program the desktop entry starts opens its window on a private X server.
set -euo pipefail
build=${1:?usage: check-package.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-package.XXXXXX")
root=$work/root
app=
# shellcheck source=scripts/display.sh
source "$here/display.sh"
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; stop_displays; rm -rf "$work"' EXIT

packages=("$build"/orvanta_*.deb)
if [ ${#packages[@]} -ne 1 ] || [ ! -f "${packages[0]}" ]; then
    echo "check-package.sh: no single orvanta package in $build (make it with scripts/build-package.sh $build)" >&2
    exit 2
fi
package=${packages[0]}
dpkg-deb -x "$package" "$root"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# check_image PNG SIZE: SIZE x SIZE pixels, a transparent corner and an
# opaque centre, so that the icon is no square on a coloured panel.
check_image() {
    local geometry corner centre
    read -r geometry corner centre < <(convert "$1" -format '%wx%h %[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]\n' info:)
    [ "$geometry" = "$2x$2" ] || fail "${1#"$root"} is $geometry, not $2x$2"
    [ "$corner" = 0 ] || fail "${1#"$root"} has no transparent background (corner alpha $corner)"
    [ "$centre" = 1 ] || fail "${1#"$root"} is not opaque in its centre (alpha $centre)"
}

id=br.com.vintoral.orvanta
entry=$root/usr/share/applications/$id.desktop
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
[ -f "$entry" ] || fail "no desktop entry /usr/share/applications/$id.desktop"
[ -f "$metainfo" ] || fail "no AppStream metainfo /usr/share/metainfo/$id.metainfo.xml"
# The whole tree: the metainfo and the desktop entry it launches.
output=$(appstreamcli validate-tree --no-net --pedantic "$root" 2>&1) && ! grep -q '^[EWIP]:' <<<"$output" ||
    fail "appstreamcli validate-tree: $output"

exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry" 2>/dev/null) || true
program=$root/usr/bin/$exec_name
[ -x "$program" ] || fail "Exec=$exec_name is not an executable in /usr/bin"

icon=$(sed -n 's/^Icon=//p' "$entry" 2>/dev/null) || true
stock_icon=$(sed -n 's:.*<icon type="stock">\(.*\)</icon>.*:\1:p' "$metainfo" 2>/dev/null) || true
[ "$stock_icon" = "$icon" ] || fail "the metainfo's icon '$stock_icon' is not the entry's Icon=$icon"
for size in 16 32 48 64 128 256; do
    image=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
    if [ -f "$image" ]; then
        check_image "$image" "$size"
    else
        fail "no ${size}x${size} icon named $icon"
    fi
done
scalable=$root/usr/share/icons/hicolor/scalable/apps/$icon.svg
if [ -f "$scalable" ] && rsvg-convert --width=512 --height=512 --output="$work/scalable.png" "$scalable"; then
    check_image "$work/scalable.png" 512
else
    fail "no scalable icon named $icon that rsvg-convert can draw"
fi

# Each manual page renders without a warning, with a whatis line, in its
# own language.
for page_and_heading in "man1/orvanta.1.gz DESCRIPTION" "pt_BR/man1/orvanta.1.gz DESCRIÇÃO"; do
    read -r page heading <<<"$page_and_heading"
    path=$root/usr/share/man/$page
    if [ ! -f "$path" ]; then
        fail "no manual page /usr/share/man/$page"
        continue
    fi
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$path" 2>"$work/man.log") || true
    [ -s "$work/man.log" ] && fail "man -l /usr/share/man/$page warns: $(cat "$work/man.log")"
    grep -q "^$heading\$" <<<"$text" || fail "man -l /usr/share/man/$page shows no $heading heading"
    lexgrog "$path" >/dev/null || fail "/usr/share/man/$page has no whatis line"
done

docs=$root/usr/share/doc/orvanta
dep5=https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
[ "$(head -n1 "$docs/copyright" 2>/dev/null)" = "Format: $dep5" ] ||
    fail "no machine-readable /usr/share/doc/orvanta/copyright"
grep -q '/usr/share/common-licenses/GPL-3' "$docs/copyright" 2>/dev/null || fail "the copyright names no common licence"
version=$(dpkg-deb -f "$package" Version)
changelog_version=$(gzip -dc "$docs/changelog.Debian.gz" 2>/dev/null | dpkg-parsechangelog -l - -S Version) || true
[ "$changelog_version" = "$version" ] ||
    fail "changelog.Debian.gz names version '$changelog_version', the package $version"

if readelf -S "$program" | grep -q '\.symtab'; then
    fail "/usr/bin/$exec_name is not stripped"
fi
# Debian 12's C start files (crt1.o, crti.o) carry no control-flow marking,
# so no program built here has it. Fortified calls show only where the
# compiler cannot prove a copy safe, so their absence proves nothing: that
# the flags were used is checked on the build below.
hardening-check --quiet --nocfprotection --nofortify "$program" || fail "hardening-check refuses /usr/bin/$exec_name"
producers=$(readelf --debug-dump=info "$build/app/orvanta" | grep DW_AT_producer | sort -u)
for flag in -fstack-protector-strong -fstack-clash-protection; do
    [ -n "$producers" ] && ! grep -v -q -e "$flag" <<<"$producers" || fail "not every unit was compiled with $flag"
done
grep -q '^CMAKE_CXX_FLAGS:STRING=.*-D_FORTIFY_SOURCE=[1-9]' "$build/CMakeCache.txt" ||
    fail "the package was not compiled with _FORTIFY_SOURCE"

depends=$(dpkg-deb -f "$package" Depends)
for library in libc6 libqt6widgets6 libqt6gui6; do
    versioned="(^|, )$library \\(>= "
    [[ "$depends" =~ $versioned ]] || fail "Depends has no version of $library from dpkg-shlibdeps: $depends"
done
for needed in qt6-qpa-plugins fonts-liberation libcups2; do
    named="(^|, )$needed(,|$)"
    [[ "$depends" =~ $named ]] || fail "Depends lacks $needed: $depends"
done

# Started as the desktop entry says, the program opens its window, with its
# title and the X11 class (WM_CLASS) that docks match to the entry by.
title="Cálculo de Lentes"
window_named() {
    window=$(xwininfo -display "$XVFB_DISPLAY" -name "$title" 2>/dev/null | awk '/Window id:/ {print $4}')
    [ -n "$window" ]
}
if start_xvfb "$work" 1024x768x24; then
    mkdir -m 700 "$work/runtime"
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY="$XVFB_DISPLAY" XDG_RUNTIME_DIR="$work/runtime" \
        "$program" >"$work/program.log" 2>&1 &
    app=$!
    if wait_ready 30 "$app" window_named; then
        # WM_CLASS = "instance", "class"
        class=$(xprop -display "$XVFB_DISPLAY" -notype -id "$window" WM_CLASS |
                sed -n 's/^WM_CLASS = "[^"]*", "\([^"]*\)"$/\1/p')
        wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry" 2>/dev/null) || true
        [ "$class" = "$id" ] && [ "$class" = "$wm_class" ] ||
            fail "the window's class is '$class', not the entry's id $id and StartupWMClass '$wm_class'"
    else
        fail "/usr/bin/$exec_name opened no window \"$title\" within 30 s: $(cat "$work/program.log")"
    fi
else
    fail "the private X server did not start"
fi

echo "checked $(basename "$package"): $failures failure(s)"
[ "$failures" -eq 0 ]
