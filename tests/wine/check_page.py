#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the report's page as the spooler kept it (PostScript from Wine):
one page, whose text lines, read back with ghostscript, are EXPECTED's lines
(UTF-8, one a line), all in one 12-point font, the first and the last bold;
the lines a blank line apart, the first indented by 100 of the 850 units
across the printable area (the document's %%BoundingBox), the others at its
left edge.
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
for match in re.finditer(r'<span bbox="(\d+) (\d+) \d+ \d+" font="([^"]*)" size="([^"]*)">\s*'
                         r'<char bbox="[^"]*" c="([^"]*)"/>', gs("txtwrite", "-dTextFormat=0").stdout):
    left, baseline, font, size, character = match.groups()
    character = html.unescape(character)
    lines.setdefault(int(baseline), []).append(
        (int(left), same_glyph.get(character, character), font, float(size)))

with open(expected_file, encoding="utf-8") as f:
    expected = f.read().splitlines()
rows = [sorted(lines[baseline]) for baseline in sorted(lines)]
texts = ["".join(c for _, c, _, _ in row).strip() for row in rows]
if texts != expected:
    failures.append("the lines are\n  " + "\n  ".join(texts) + "\nnot\n  " + "\n  ".join(expected))
sizes = {size for row in rows for _, _, _, size in row}
if sizes != {12.0}:
    failures.append(f"font sizes {sorted(sizes)}, not 12 points")
bold = [all("Bold" in font for _, _, font, _ in row) for row in rows]
if bold != [i in (0, len(rows) - 1) for i in range(len(rows))]:
    failures.append(f"bold lines {bold}: only the first and the last should be")
baselines = sorted(lines)
gaps = [b - a for a, b in zip(baselines, baselines[1:])]
# A blank line between two lines of 12 points: twice the line height, over
# 24 points; and no line drawn over another.
if any(gap < 24 or gap > 40 for gap in gaps):
    failures.append(f"lines {gaps} points apart, not a blank line each")

box = re.search(rb"^%%BoundingBox: (\d+) \d+ (\d+) \d+", open(document, "rb").read(), re.M)
if box is None:
    failures.append("no %%BoundingBox")
elif rows:
    area_left, area_right = int(box[1]), int(box[2])
    lefts = [row[0][0] for row in rows]
    indent = area_left + (area_right - area_left) * 100 / 850
    if abs(lefts[0] - indent) > 1.5 or any(abs(left - area_left) > 1.5 for left in lefts[1:]):
        failures.append(f"lines start at {lefts} points: {indent:.1f} then {area_left} expected")

for failure in failures:
    print("check_page.py: " + failure, file=sys.stderr)
sys.exit(1 if failures else 0)
