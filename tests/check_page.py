#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the report's page as a printer made it (PostScript from Wine, a PDF
from the CUPS printer or the browser), read back with ghostscript: one page,
whose text lines are EXPECTED's lines that are not empty (UTF-8, one a line),
all in one 12-point fixed-pitch font, the first and the last bold; the lines
a blank line apart, evenly; the first indented by 100 of the 850 units across
the printable area, the others at its left edge. The printable area is the
PostScript's %%BoundingBox, or else what margins alike on both sides of the
page leave.
Usage: check_page.py DOCUMENT EXPECTED"""
import html
import re
import subprocess
import sys

document, expected_file = sys.argv[1:3]
failures = []

def gs(device, *options):
    return subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=" + device, *options,
                           "-sOutputFile=-", document], check=True, capture_output=True, text=True)

pages = gs("bbox").stderr.count("%%BoundingBox")
if pages != 1:
    failures.append(f"{pages} pages, not one")

# Wine's PostScript driver names each glyph after the last character that
# the font maps to it: the space is shown as /uni00A0 and the hyphen as
# /uni00AD, the same glyphs as U+0020 and U+002D, which ghostscript then
# reads back as no-break space and soft hyphen.
same_glyph = {"\u00a0": " ", "\u00ad": "-"}
lines = {}  # baseline -> [(left, character, font, size)]
for span in re.finditer(r'<span bbox="\d+ (\d+) \d+ \d+" font="([^"]*)" size="([^"]*)">(.*?)</span>',
                        gs("txtwrite", "-dTextFormat=0").stdout, re.S):
    baseline, font, size, characters = span.groups()
    for left, character in re.findall(r'<char bbox="(\d+) [^"]*" c="([^"]*)"/>', characters):
        character = html.unescape(character)
        lines.setdefault(int(baseline), []).append(
            (int(left), same_glyph.get(character, character), font, float(size)))

with open(expected_file, encoding="utf-8") as f:
    expected = [line for line in f.read().splitlines() if line]
rows = [sorted(lines[baseline]) for baseline in sorted(lines)]
# A PDF's gaps between words may come back as tabs.
texts = [" ".join("".join(c for _, c, _, _ in row).split()) for row in rows]
if texts != expected:
    failures.append("the lines are\n  " + "\n  ".join(texts) + "\nnot\n  " + "\n  ".join(expected))
sizes = {size for row in rows for _, _, _, size in row}
if sizes != {12.0}:
    failures.append(f"font sizes {sorted(sizes)}, not 12 points")
bold = [all("Bold" in font for _, _, font, _ in row) for row in rows]
if bold != [i in (0, len(rows) - 1) for i in range(len(rows))]:
    failures.append(f"bold lines {bold}: only the first and the last should be")
# Fixed pitch: every character of every line, blanks too, advances by the
# same width, about 0.6 em (the characters' places are whole points).
advances = [(row[-1][0] - row[0][0]) / (len(row) - 1) for row in rows if len(row) > 10]
if not advances or any(abs(advance - 7.2) > 0.4 for advance in advances):
    failures.append(f"characters advance by {advances} points, not 0.6 em each")
baselines = sorted(lines)
gaps = [b - a for a, b in zip(baselines, baselines[1:])]
# A blank line between two lines of 12 points: twice the line height, over
# 24 points, the same each time; and no line drawn over another.
if any(gap < 24 or gap > 40 or abs(gap - gaps[0]) > 1 for gap in gaps):
    failures.append(f"lines {gaps} points apart, not a blank line each")

if rows:
    lefts = [row[0][0] for row in rows]
    box = re.search(rb"^%%BoundingBox: (\d+) \d+ (\d+) \d+", open(document, "rb").read(), re.M)
    if box:
        area_left, area_right = int(box[1]), int(box[2])
    else:
        info = subprocess.run(["pdfinfo", document], check=True, capture_output=True, text=True).stdout
        area_left = lefts[-1]
        area_right = float(re.search(r"^Page size:\s+([0-9.]+) x", info, re.M)[1]) - area_left
    indent = area_left + (area_right - area_left) * 100 / 850
    if abs(lefts[0] - indent) > 1.5 or any(abs(left - area_left) > 1.5 for left in lefts[1:]):
        failures.append(f"lines start at {lefts} points: {indent:.1f} then {area_left} expected")

for failure in failures:
    print("check_page.py: " + failure, file=sys.stderr)
sys.exit(1 if failures else 0)
