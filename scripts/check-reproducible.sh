#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the release files of the last commit twice (release.sh), in two
# clones at paths of different lengths, in different time zones and with
# different umasks, and checks that every file in dist/ is the same bytes and
# that SHA256SUMS verifies. On a difference the two clones are kept, to be
# compared (diffoscope, cmp -l).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build windows
work=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-reproducible.XXXXXX")
first=$work/a second=$work/another/deeper/folder/b
git clone -q --no-local . "$first"
git clone -q --no-local . "$second"
(umask 022 && cd "$first" && TZ=UTC ./release.sh >"$work/a.log" 2>&1) || { cat "$work/a.log"; exit 1; }
# BRT3: three hours behind UTC, written so that it needs no time-zone data.
(umask 077 && cd "$second" && TZ=BRT3 ./release.sh >"$work/b.log" 2>&1) || { cat "$work/b.log"; exit 1; }

same=true
diff <(ls "$first/dist") <(ls "$second/dist") || same=false
for file in "$first"/dist/*; do
    cmp "$file" "$second/dist/${file##*/}" || same=false
done
(cd "$first/dist" && sha256sum --check --strict SHA256SUMS) || same=false
if ! $same; then
    echo "check-reproducible.sh: the two builds differ; they are in $work" >&2
    exit 1
fi
cat "$first/dist/SHA256SUMS"
rm -rf "$work"
echo "check-reproducible.sh: the same release files from two folders"
