# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The environment of every Wine process of the tests: source this file.

# The wine front end of Debian runs the 64-bit loader; wineserver lives in
# Wine's library folder, out of PATH.
# shellcheck disable=SC2034  # for the scripts that source this file
WINESERVER_PROGRAM=$(command -v wineserver || echo /usr/lib/wine/wineserver)

# wine_environment: exports the prefix (ORVANTA_WINE_PREFIX), the display
# when ORVANTA_WINE_DISPLAY names a file holding one, no debug output, no
# Mono or Gecko prompt and no menu entries; HOME is a folder of the prefix's
# own, so that nothing is written into the user's.
wine_environment() {
    : "${ORVANTA_WINE_PREFIX:?the Wine prefix is not set}"
    export WINEPREFIX=$ORVANTA_WINE_PREFIX WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export HOME=$ORVANTA_WINE_PREFIX.home
    mkdir -p "$HOME"
    local display=
    if [ -n "${ORVANTA_WINE_DISPLAY:-}" ]; then
        read -r display 2>/dev/null <"$ORVANTA_WINE_DISPLAY" || true
    fi
    if [ -n "$display" ]; then
        export DISPLAY=:$display
    else
        unset DISPLAY
    fi
    unset WAYLAND_DISPLAY
}
