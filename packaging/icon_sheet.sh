#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lays the installed icon images side by side at their own size, on a light
# and on a dark background, with the window's two small ones also enlarged
# four times: icon_sheet.sh ICON_THEME_DIR OUT.png, where ICON_THEME_DIR is
# a hicolor folder such as the unpacked package's usr/share/icons/hicolor.
set -euo pipefail
theme=${1:?usage: icon_sheet.sh ICON_THEME_DIR OUT.png}
out=${2:?usage: icon_sheet.sh ICON_THEME_DIR OUT.png}
name=br.com.vintoral.orvanta

images=()
for size in 16 32 48 64 128 256; do
    images+=("$theme/${size}x${size}/apps/$name.png")
done
for size in 16 32; do
    images+=("(" "$theme/${size}x${size}/apps/$name.png" -filter point -resize 400% ")")
done

# One row of every image on the given background, bottoms aligned.
row() {
    convert -background "$1" "${images[@]}" -gravity west -splice 16x0 -gravity south +append \
        -bordercolor "$1" -border 16x8 miff:-
}
row '#f4f4f4' >"$out.light.miff"
row '#1e1e1e' >"$out.dark.miff"
convert "$out.light.miff" "$out.dark.miff" -append -strip "$out"
rm -f "$out.light.miff" "$out.dark.miff"
