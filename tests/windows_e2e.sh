#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# orvanta.exe under Wine, used as a user uses it, through a private X server
# with openbox and real keyboard and mouse input (xdotool): the window opens
# while the print server does not answer (it is asked only by "Imprimir",
# after it answers again); "Calcular" with nothing typed shows the error box,
# which Enter closes, leaving the focus in the emptied target size; the
# worked example (1000 milimetros at 5 metros) typed, the distance after
# another window was active, and calculated; "Imprimir" prints on
# the private spooler's default printer, whose kept page must carry the
# focal length; "Fechar" ends the program. The program runs from a folder of
# its own beside a planted winspool.drv, which Wine is told to prefer to its
# own, as Windows would find it: printing must not load it.
# Usage: windows_e2e.sh ORVANTA.exe PLANTED.drv
#        (environment as orvanta_wine_test CUPS gives it)
# shellcheck disable=SC2317  # cleanup runs from the EXIT trap
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=${1:?usage: windows_e2e.sh ORVANTA.exe PLANTED.drv}
planted=${2:?usage: windows_e2e.sh ORVANTA.exe PLANTED.drv}
if [ "${3:-}" != --inside ]; then
    exec bash "$here/x11_session.sh" --openbox -- bash "$0" "$exe" "$planted" --inside
fi
spool=${ORVANTA_CUPS_DIR:?the private spooler is not set}/spool
display=$DISPLAY
# shellcheck source=tests/wine/env.sh
source "$here/wine/env.sh"
# shellcheck source=scripts/process.sh
source "$here/../scripts/process.sh"
wine_environment
export DISPLAY=$display
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winspool.drv=n,b"
folder=$(mktemp -d)
cp "$exe" "$folder/orvanta.exe"
cp "$planted" "$folder/winspool.drv"

fail() {
    echo "windows_e2e: $*" >&2
    exit 1
}
# quietly COMMAND...: COMMAND with no output, for wait_ready.
quietly() { "$@" >/dev/null 2>&1; }
no_error_box() { ! xdotool search --onlyvisible --name "Mensagem de Erro!" >/dev/null 2>&1; }

spooler=$(cat "$ORVANTA_CUPS_DIR/cupsd.pid")
kill -STOP "$spooler"
wine "$folder/orvanta.exe" &
program=$!
trap 'kill -CONT "$spooler"; kill "$program" 2>/dev/null || true; "$WINESERVER_PROGRAM" -k 2>/dev/null || true; rm -rf "$folder"' EXIT
# The title matched in plain letters, whatever the locale xdotool runs in.
wait_ready 60 "$program" quietly xdotool search --onlyvisible --name "lculo de Lentes" ||
    fail "the window did not open while the print server was not answering"
kill -CONT "$spooler"
window=$(xdotool search --onlyvisible --name "lculo de Lentes" | head -n 1)

# click LEFT TOP: clicks the control laid out at these twips of the client area.
click() {
    xdotool mousemove --window "$window" $(($1 / 15 + 8)) $(($2 / 15 + 8)) click 1
    sleep 0.3
}
calcular=(360 7080) imprimir=(3960 7080) fechar=(7560 7080) text2=(360 5640)

click "${calcular[@]}"
wait_ready 30 "$program" quietly xdotool search --onlyvisible --name "Mensagem de Erro!" || fail "no error box for an empty target size"
xdotool key Return
wait_ready 30 "$program" no_error_box || fail "Enter did not close the error box"

# Typed where the error box left the focus. Enter in the target size moves on
# to its unit list, whose first item is milimetros.
xdotool type --delay 50 "1000"
xdotool key --delay 100 Return Home
click "${text2[@]}"
# Another window active meanwhile: the distance box keeps the focus.
xlogo &
other=$!
wait_ready 30 "$other" quietly xdotool search --onlyvisible --class xlogo || fail "xlogo did not open"
xdotool windowactivate --sync "$(xdotool search --onlyvisible --class xlogo | head -n 1)"
xdotool windowactivate --sync "$window"
kill "$other"
xdotool type --delay 50 "5"
click "${calcular[@]}"
# Other tests may have printed on this spooler before: the page is the new document.
shopt -s nullglob
before=("$spool"/d*-001)
click "${imprimir[@]}"
no_planted_library() {
    [ ! -e "$folder/planted-library-ran" ] || fail "printing loaded the winspool.drv planted beside the program"
}
new_document() {
    no_planted_library
    local documents=("$spool"/d*-001)
    [ ${#documents[@]} -gt ${#before[@]} ] && document=${documents[-1]}
}
wait_ready 60 "$program" new_document || fail "nothing reached the spooler"
page=$(gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=- "$document" | sed 's/\xc2\xa0/ /g')
grep -q "Distância Focal da lente a ser utilizada: 24 mm" <<<"$page" ||
    fail "the page lacks the focal length 24 mm:"$'\n'"$page"
no_planted_library

click "${fechar[@]}"
wait "$program" || fail "the program ended with status $? after Fechar"
echo "windows_e2e: error box, calculation, printed page without the planted DLL, and Fechar as expected"
