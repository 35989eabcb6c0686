#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints through Wine onto the private spooler's default printer, one
# document per test of test_gdi_printer's PrivateSpooler suite (each writes
# its page's lines into expected.txt), and checks each document that the
# spooler kept (tests/check_page.py), in the order they were sent.
# Usage: gdi_print.sh TEST_GDI_PRINTER.exe     (ORVANTA_CUPS_DIR: the spooler)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=${1:?usage: gdi_print.sh TEST_GDI_PRINTER.exe}
spool=${ORVANTA_CUPS_DIR:?the private spooler is not set}/spool
shopt -s nullglob
# Other tests may have printed on this spooler before.
kept=("$spool"/d*-001)
sent=${#kept[@]}

# print_and_check TEST [VARIABLE=VALUE...]: runs the one test and checks the
# one new document.
print_and_check() {
    local test=$1 documents
    shift
    rm -f expected.txt
    env "$@" bash "$here/run.sh" "$exe" --gtest_filter="PrivateSpooler.$test"
    sent=$((sent + 1))
    documents=("$spool"/d*-001)
    if [ ${#documents[@]} -ne $sent ]; then
        echo "gdi_print.sh: after $test the spooler kept ${#documents[@]} documents, not $sent" >&2
        exit 1
    fi
    python3 "$here/../check_page.py" "${documents[$((sent - 1))]}" expected.txt
    echo "gdi_print.sh: $test: the page is as expected"
}

# The user's decimal separator, as Control Panel's Region sets it.
set_separator() {
    bash "$here/with_setting.sh" 'HKCU\Control Panel\International' sDecimal REG_SZ "$1"
}

print_and_check PrintsTheWorkedExample
print_and_check OfflinePrinterKeepsTheJobAndSaysSo
for separator in ',' '.'; do
    set_separator "$separator"
    print_and_check UserDecimalSeparatorDecidesWhatIsANumber ORVANTA_EXPECT_SEPARATOR="$separator"
done
