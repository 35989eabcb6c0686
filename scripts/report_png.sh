#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/report.png: the printed page of the worked example, written to
# a PDF file by the report's real printer layer and turned into a picture by
# pdftoppm.  Usage: scripts/report_png.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target report_sample
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
QT_QPA_PLATFORM=offscreen "$build/report/cups/report_sample" "$scratch/report.pdf"
mkdir -p docs
pdftoppm -png -r 96 -singlefile "$scratch/report.pdf" docs/report
echo "wrote docs/report.png"
