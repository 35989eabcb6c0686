#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the README's test command as a throw-away unprivileged account, on a
# clone of this repository's committed HEAD that the account owns, to prove
# that no test needs root or writes outside its build tree and temporary
# folders. Run as root (CI does); the account, its processes and its files
# are gone afterwards. Packages must already be installed (test.sh as root
# installs them first).
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "test-unprivileged.sh: run as root" >&2; exit 2; }

account=orvanta-t$$
home=$(mktemp -d /tmp/orvanta-unprivileged.XXXXXX)
cleanup() {
    pkill -KILL -u "$account" 2>/dev/null || true
    # What the account's programs left in the shared temporary folders (Qt's
    # runtime folder when none is set, for one) goes with it.
    find /tmp /var/tmp -xdev -mindepth 1 -maxdepth 1 -user "$account" -exec rm -rf {} + 2>/dev/null || true
    userdel "$account" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT

useradd --home-dir "$home" --no-create-home --shell /bin/bash --user-group "$account"
git clone -q "$PWD" "$home/orvanta"
chown -R "$account:$account" "$home"
chmod 700 "$home"
echo "test-unprivileged.sh: running test.sh as $account ($(id "$account"))"
# A login environment of the account's own: no root HOME, TMPDIR or runtime
# folder leaks in.
su --login "$account" --command "cd '$home/orvanta' && CI='${CI:-}' bash test.sh"
