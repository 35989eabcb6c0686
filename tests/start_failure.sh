#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# When the window cannot be opened, the program says why in one line of
# Portuguese and exits non-zero: no display at all; a display (a live private
# weston or Xvfb) whose Qt platform support is missing, naming the package to
# install; a display that refuses the connection (a Wayland socket nobody
# listens on, an X server that refuses every client) or that is not there;
# a platform that -platform or QT_QPA_PLATFORM chooses, and a -display, that
# the line must name rather than the session's displays. The missing support
# is a copy of the program with a qt.conf beside it that points Qt's plugins
# at an empty folder.
#
# Usage: tests/start_failure.sh ORVANTA
# Exit status: 0 passed, 1 a case failed, 2 could not run.
# shellcheck disable=SC2317  # cleanup runs from the EXIT trap
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=${1:?usage: start_failure.sh ORVANTA}

for tool in Xvfb weston; do
    command -v "$tool" >/dev/null || { echo "start_failure: $tool is missing (bash scripts/deps.sh test)" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-start.XXXXXX") || exit 2
# shellcheck source=scripts/display.sh
source "$here/../scripts/display.sh"
refuser=
trap 'stop_displays; [ -z "$refuser" ] || stop_process "$refuser"; rm -rf "$work"' EXIT
start_xvfb "$work" 1024x768x24 || { echo "start_failure: Xvfb did not start within 15 s" >&2; exit 2; }
start_weston "$work" || { echo "start_failure: weston did not start within 15 s" >&2; exit 2; }

mkdir "$work/unsupported" "$work/unsupported/no-plugins"
cp "$program" "$work/unsupported/orvanta"
printf '[Paths]\nPlugins = no-plugins\n' >"$work/unsupported/qt.conf"
unsupported=$work/unsupported/orvanta

# An X display number with no server: no socket of that number exists.
dead_x=$((900 + $$ % 100))
while [ -e "/tmp/.X11-unix/X$dead_x" ] || [ -e "/tmp/.X$dead_x-lock" ]; do dead_x=$((dead_x + 1)); done
# An X server that refuses every client, on the abstract socket of the next
# free number: it answers the connection setup with Failed.
refusing_x=$((dead_x + 1))
while [ -e "/tmp/.X11-unix/X$refusing_x" ] || [ -e "/tmp/.X$refusing_x-lock" ]; do refusing_x=$((refusing_x + 1)); done
/usr/bin/python3 - "$refusing_x" "$work/refuser-ready" <<'PYTHON' &
import socket, struct, sys
server = socket.socket(socket.AF_UNIX)
server.bind("\0/tmp/.X11-unix/X" + sys.argv[1])
server.listen(8)
open(sys.argv[2], "w").close()
reason = b"No protocol specified\0\0\0"
while True:
    client, _ = server.accept()
    try:  # a client may hang up first, as the program's own probe does
        client.recv(4096)
        client.sendall(struct.pack("<BBHHH", 0, 21, 11, 0, len(reason) // 4) + reason)
    except OSError:
        pass
    client.close()
PYTHON
refuser=$!
refuser_ready() { [ -e "$work/refuser-ready" ]; }
wait_ready 15 "$refuser" refuser_ready || { echo "start_failure: the refusing X server did not start" >&2; exit 2; }
# A Wayland socket in the private runtime folder that nobody listens on.
dead_wayland="wayland-nobody"
/usr/bin/python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$WESTON_RUNTIME/$dead_wayland"

checks=0 failures=0
# check CASE PROGRAM SESSION_VARIABLES [ARGUMENTS] EXPECTED...: runs PROGRAM
# with only the given session variables and the given arguments (a -flag
# word and its value) and expects a non-zero exit status and the one line
# "orvanta: não foi possível abrir a janela: EXPECTED..." (the words joined
# by blanks).
check() {
    local name=$1 executable=$2 variables=$3 output status arguments=()
    checks=$((checks + 1))
    shift 3
    case ${1:-} in -*) read -ra arguments <<<"$1"; shift ;; esac
    local expected="orvanta: não foi possível abrir a janela: $*"
    # shellcheck disable=SC2086  # the session variables are words for env
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE -u XDG_CURRENT_DESKTOP \
             XDG_RUNTIME_DIR="$WESTON_RUNTIME" $variables timeout 30 "$executable" "${arguments[@]}" </dev/null 2>&1)
    status=$?
    if [ "$status" -ne 0 ] && [ "$status" -ne 124 ] && [ "$output" = "$expected" ]; then
        echo "ok: $name: exit status $status, \"$output\""
        return
    fi
    echo "FAIL: $name: exit status $status (expected non-zero), output:" >&2
    printf '%s\n' "$output" | sed 's/^/    /' >&2
    echo "  expected the one line:" >&2
    echo "    $expected" >&2
    failures=$((failures + 1))
}

x11="DISPLAY=$XVFB_DISPLAY"
wayland="WAYLAND_DISPLAY=$WESTON_DISPLAY"
check "no display" "$program" "" \
    "nenhuma sessão gráfica disponível (DISPLAY e WAYLAND_DISPLAY não estão definidas)."
check "Wayland without Qt's Wayland support" "$unsupported" "$wayland" \
    "a tela Wayland \"$WESTON_DISPLAY\" precisa do suporte do Qt a Wayland, que não está instalado" \
    "(instale o pacote qt6-wayland)."
check "X11 without Qt's X11 support" "$unsupported" "$x11" \
    "a tela X11 \"$XVFB_DISPLAY\" precisa do suporte do Qt a X11, que não está instalado" \
    "(instale o pacote qt6-qpa-plugins)."
check "X11 display that is not there" "$program" "DISPLAY=:$dead_x" \
    "a tela X11 \":$dead_x\" não existe ou não responde."
check "X11 display that refuses" "$program" "DISPLAY=:$refusing_x" "a tela X11 \":$refusing_x\" recusou a conexão."
check "Wayland display that refuses" "$program" "WAYLAND_DISPLAY=$dead_wayland" \
    "a tela Wayland \"$dead_wayland\" recusou a conexão."
check "Wayland display that is not there" "$program" "WAYLAND_DISPLAY=wayland-missing" \
    "a tela Wayland \"wayland-missing\" não pode ser encontrada ($WESTON_RUNTIME/wayland-missing não existe)."
check "Wayland without its runtime folder" "$program" "XDG_RUNTIME_DIR= $wayland" \
    "a tela Wayland \"$WESTON_DISPLAY\" não pode ser encontrada, porque XDG_RUNTIME_DIR não está definida."
check "Wayland runtime folder that is relative" "$program" "XDG_RUNTIME_DIR=runtime $wayland" \
    "a tela Wayland \"$WESTON_DISPLAY\" não pode ser encontrada, porque XDG_RUNTIME_DIR (\"runtime\") não é um" \
    "caminho absoluto."
check "both refuse" "$program" "DISPLAY=:$refusing_x WAYLAND_DISPLAY=$dead_wayland" \
    "a tela Wayland \"$dead_wayland\" recusou a conexão; a tela X11 \":$refusing_x\" recusou a conexão."
# Qt's own settings choose: the line names what Qt tried, not the session's
# other display.
check "Wayland chosen without a Wayland display" "$program" "$x11 QT_QPA_PLATFORM=wayland" \
    "com QT_QPA_PLATFORM=wayland, a tela Wayland \"wayland-0\" não pode ser encontrada" \
    "($WESTON_RUNTIME/wayland-0 não existe)."
check "Wayland chosen on the command line" "$program" "$x11" "-platform wayland" \
    "com -platform wayland, a tela Wayland \"wayland-0\" não pode ser encontrada ($WESTON_RUNTIME/wayland-0 não existe)."
check "a platform Qt does not have" "$program" "$x11 QT_QPA_PLATFORM=orvanta-none" \
    "com QT_QPA_PLATFORM=orvanta-none, o Qt não tem a plataforma \"orvanta-none\"."
check "a display on the command line" "$program" "$x11" "--display :$dead_x" \
    "a tela X11 \":$dead_x\" não existe ou não responde."
check "X11 chosen on a Wayland session" "$program" "$wayland" "-platform xcb" \
    "com -platform xcb, nenhuma tela X11 foi indicada (DISPLAY não está definida)."
echo "start_failure: $((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
