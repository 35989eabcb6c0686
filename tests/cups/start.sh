#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a private CUPS spooler for the printing tests, as the invoking user:
# a cupsd of its own whose configuration, spool, state, cache, logs and
# programs folder all live under DIR and that listens only on the socket
# DIR/cups.sock.  Nothing outside DIR is written, and a system cupsd, if
# any, is never touched.  Its queues print into /dev/null, and the spooler
# keeps every document it was sent as DIR/spool/d<job>-001, which is what
# the tests read back:
#   orvanta          the default printer, A4 paper
#   orvanta-letter   US Letter paper
#   orvanta-failing  a printer whose backend always fails, so that CUPS
#                    stops it at its first job
#   orvanta-class    a class of orvanta-letter;  orvanta-held holds new jobs
#   orvanta-locked, orvanta-login  for any request, or to make a job, forbid
#                    a known client and ask others a login (that nobody has)
#   orvanta-login-document, orvanta-no-document  to send a job's document,
#                    ask every client a login, or forbid it
#   orvanta-everywhere  driverless, on US Letter: an ippeveprinter on a free
#                    loopback port, with a private D-Bus bus for its DNS-SD
# With --no-printer it has no queue at all.  Clients reach it with
#   CUPS_SERVER=DIR/cups.sock CUPS_SERVERROOT=DIR/client HOME=DIR/home
# (an empty client root and home, so that no client.conf or lpoptions of
# the machine or of the user can pick another server or default printer);
# DIR/runtime is there for XDG_RUNTIME_DIR.
# Usage: start.sh DIR [--no-printer]        Undo with stop.sh DIR.
set -euo pipefail
dir=${1:?usage: start.sh DIR [--no-printer]}
with_printer=yes
[ "${2:-}" = --no-printer ] && with_printer=no
here=$(cd "$(dirname "$0")" && pwd)

# Whatever an interrupted run left behind goes first.
bash "$here/stop.sh" "$dir"

umask 022
# Run as root, cupsd still runs its filters and backends as lp: the folders
# they go through must be open to others (cupsd sets up its spool itself).
mkdir -p -m 755 "$dir"
mkdir -p "$dir"/{conf/ppd,spool/tmp,cache,state,log,client,home,tmp,bin/backend}
mkdir -m 700 "$dir/runtime"
# lpadmin keeps a copy of the PPD in the temporary folder while it works.
export TMPDIR=$dir/tmp

# The system's filters and backends, plus one backend that always fails.
for entry in /usr/lib/cups/*; do
    [ "$entry" = /usr/lib/cups/backend ] || ln -s "$entry" "$dir/bin/"
done
ln -s /usr/lib/cups/backend/* "$dir/bin/backend/"
printf '#!/bin/sh\n# Lists no devices; fails every job.\n[ $# -eq 0 ] && exit 0\nexit 1\n' >"$dir/bin/backend/failing"
chmod 755 "$dir/bin/backend/failing"

cat >"$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/state/printcap
ServerBin $dir/bin
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
FileDevice Yes
Sandboxing Relaxed
# A client on the socket is known by its user id, root too, when its user
# name (CUPS_USER) is that of the id.
PeerCred On
CONF

cat >"$dir/conf/cupsd.conf" <<CONF
LogLevel info
MaxLogSize 0
Listen $dir/cups.sock
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
PreserveJobFiles Yes
# Each job's attributes are in DIR/spool/c<job> as soon as it completes.
DirtyCleanInterval 0
DefaultPaperSize None
<Location />
  Order allow,deny
  Allow all
</Location>
# Logins that no user has, and no password is ever given.
<Location /printers/orvanta-locked>
  AuthType Basic
  Require user orvanta-nobody
</Location>
<Policy login>
  <Limit Create-Job Print-Job>
    AuthType Basic
    Require user orvanta-nobody
  </Limit>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
<Policy login-document>
  <Limit Send-Document>
    AuthType Basic
    Require user orvanta-nobody
  </Limit>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
# A client known by its user id makes the job, then may not send it.
<Policy no-document>
  <Limit Create-Job>
    AuthType Basic
    Require valid-user
  </Limit>
  <Limit Send-Document>
    AuthType Basic
    Require user orvanta-nobody
  </Limit>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF

setsid cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" \
    </dev/null >"$dir/log/cupsd.out" 2>&1 &
echo $! >"$dir/cupsd.pid"

export CUPS_SERVER=$dir/cups.sock CUPS_SERVERROOT=$dir/client HOME=$dir/home
for _ in $(seq 300); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || break
    sleep 0.1
done
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    echo "start.sh: the private cupsd did not come up" >&2
    cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
    bash "$here/stop.sh" "$dir"
    exit 1
fi

if [ "$with_printer" = yes ]; then
    # A generic PDF printer: the queue passes the document on as it came.
    # lpadmin warns that PPD files are deprecated; they still work.
    ppd=/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd
    # Debian's CUPS retries a failed job later instead of stopping the
    # printer; the failing queue asks for the stop.
    add_queue() { lpadmin -p "$1" -E -v "$2" -P "$ppd" -o "PageSize=$3" "${@:4}" 2>/dev/null; }
    add_queue orvanta file:///dev/null A4
    add_queue orvanta-letter file:///dev/null Letter
    add_queue orvanta-failing failing:/ A4 -o printer-error-policy=stop-printer
    lpadmin -p orvanta-letter -c orvanta-class && cupsenable orvanta-class && cupsaccept orvanta-class
    add_queue orvanta-held file:///dev/null A4 -o job-hold-until-default=indefinite
    add_queue orvanta-locked file:///dev/null A4
    add_queue orvanta-login file:///dev/null A4 -o printer-op-policy=login
    add_queue orvanta-login-document file:///dev/null A4 -o printer-op-policy=login-document
    add_queue orvanta-no-document file:///dev/null A4 -o printer-op-policy=no-document
    # ippeveprinter's DNS-SD client, which announces nothing (-r off), wants
    # a system bus; the queue is made from what the printer says of itself.
    dbus-daemon --session --address="unix:path=$dir/bus.sock" --nofork --nopidfile &>"$dir/log/dbus.out" &
    echo $! >"$dir/dbus.pid"
    mkdir "$dir/ippeve"
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    for _ in $(seq 100); do [ -S "$dir/bus.sock" ] && break || sleep 0.1; done
    DBUS_SYSTEM_BUS_ADDRESS="unix:path=$dir/bus.sock" setsid ippeveprinter -n localhost -p "$port" -r off \
        -d "$dir/ippeve" -f application/pdf "Orvanta Everywhere" </dev/null &>"$dir/log/ippeve.out" &
    echo $! >"$dir/ippeve.pid"
    # lpadmin makes a raw queue, with no paper of its own, when the printer
    # does not answer yet: it is asked first, and the queue must have the
    # description made from what the printer said.
    uri="ipp://localhost:$port/ipp/print"
    for _ in $(seq 100); do
        ipptool -q "$uri" get-printer-attributes.test 2>/dev/null && break
        sleep 0.1
    done
    for _ in $(seq 20); do
        lpadmin -p orvanta-everywhere -E -v "$uri" -m everywhere 2>/dev/null &&
            [ -s "$dir/conf/ppd/orvanta-everywhere.ppd" ] && break
        sleep 0.2
    done
    if [ ! -s "$dir/conf/ppd/orvanta-everywhere.ppd" ]; then
        echo "start.sh: the driverless queue got no description from ippeveprinter" >&2
        cat "$dir/log/ippeve.out" >&2
        bash "$here/stop.sh" "$dir"
        exit 1
    fi
    lpadmin -d orvanta
fi
echo "private cupsd $(cat "$dir/cupsd.pid") on $dir/cups.sock: $(lpstat -d 2>&1)"
