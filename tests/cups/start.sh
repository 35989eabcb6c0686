#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a private CUPS spooler for the printing tests: a cupsd of its own
# whose configuration, spool, state, cache and logs all live under DIR, that
# listens only on the socket DIR/cups.sock, and whose one queue "orvanta", a
# cups-pdf printer writing into DIR/out, is the default printer; with
# --no-printer it has no queue at all.  A system cupsd, if any, is never
# touched.  Clients reach it with
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

bash "$here/../../scripts/deps.sh" print

# Whatever an interrupted run left behind goes first.
bash "$here/stop.sh" "$dir"

mkdir -p "$dir"/{etc/ppd,spool/tmp,cache,state,log,out,pdfspool,client,home,runtime}
chmod 700 "$dir/runtime"
# The spooler's children run as lp and must reach the job files.
chmod 755 "$dir"
chgrp -R lp "$dir/spool" && chmod 0710 "$dir/spool" && chmod 1770 "$dir/spool/tmp"

cat >"$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
User lp
Group lp
SystemGroup root
FileDevice No
Sandboxing Relaxed
CONF

cat >"$dir/etc/cupsd.conf" <<CONF
LogLevel info
MaxLogSize 0
Listen $dir/cups.sock
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
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

# cups-pdf reads /etc/cups/cups-pdf-NAME.conf for a queue whose URI is
# cups-pdf:/NAME; a name of this DIR's own keeps runs from different build
# trees apart.  stop.sh removes the file again.
instance=$(bash "$here/instance.sh" "$dir")
cat >"/etc/cups/cups-pdf-$instance.conf" <<CONF
Out $dir/out
AnonDirName $dir/out
Spool $dir/pdfspool
Log $dir/log
Grp lp
LogType 3
# Every job gets a file of its own, named with its job id.
Label 2
CONF

setsid cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
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
    # lpadmin warns that PPD files are deprecated; they still work.  The
    # queue turns PDF into PostScript for cups-pdf; done by Ghostscript (the
    # default) the page looks right but its text turns into bitmaps that no
    # tool reads back, so let Cairo do it.
    lpadmin -p orvanta -E -v "cups-pdf:/$instance" -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd \
        -o pdftops-renderer-default=pdftocairo 2>/dev/null
    lpadmin -d orvanta
fi
echo "private cupsd $(cat "$dir/cupsd.pid") on $dir/cups.sock: $(lpstat -d 2>&1)"
