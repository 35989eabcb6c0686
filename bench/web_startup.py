#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser's Orvanta: the site's compressed size and its start-up against a floor.

Size: each file of SITE compressed with gzip -9, as a host sends it, and the
sum (target: at most 200 KB of 1000 bytes).

Start-up: the time from navigation to the form being usable (the lists
filled and the focus in Text3), read in the page, against a floor: index.html
without its scripts, the same 24 controls, style sheet and fonts, usable at
once (the lists' items written in, Text3 focused by autofocus), timed to the
same condition, read the same way. Each run is a fresh
headless Chromium with an empty profile (tests/web/chromium.py), as on a
first visit; the two pages alternate after a warm-up run of each, 21 times
by default, as a shared machine's load moves single runs by a half. Prints
figures; it never fails on speed.

Usage: web_startup.py SITE [RUNS]
"""

import gzip
import os
import re
import shutil
import statistics
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written beside the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
import chromium  # noqa: E402

SIZE_TARGET = 200_000
TIME_TARGET = 1.5
DESKTOP = (1280, 800)
ITEMS = {
    "Combo1": ["1/3", "1/4", "1/2", "2/3", "1"],
    "Combo2": ["milimetros", "centimetros", "metros", "pés"],
    "Combo3": ["Altura", "Largura", "Diagonal"],
    "Combo4": ["milimetros", "centimetros", "metros", "pés"],
}


def compressed_sizes(site):
    sizes = {}
    for name in sorted(os.listdir(site)):
        with open(os.path.join(site, name), "rb") as f:
            sizes[name] = len(gzip.compress(f.read(), 9, mtime=0))
    return sizes


def write_floor(site, folder):
    """folder: the site with floor.html, index.html without scripts, usable at once, and an empty page."""
    shutil.copytree(site, folder, dirs_exist_ok=True)
    with open(os.path.join(site, "index.html"), encoding="utf-8") as f:
        page = re.sub(r"<script[^>]*></script>\n?", "", f.read())
    page = page.replace(' id="Form1" inert', ' id="Form1"').replace(' id="Text3"', ' id="Text3" autofocus')
    for control, items in ITEMS.items():
        options = "".join(f"<option>{item}</option>" for item in items)
        page, found = re.subn(rf'(<select[^>]*id="{control}"[^>]*>)', rf"\g<1>{options}", page)
        if found != 1:
            sys.exit(f"web_startup.py: index.html has no list {control}")
    with open(os.path.join(folder, "floor.html"), "w", encoding="utf-8") as f:
        f.write(page)
    with open(os.path.join(folder, "blank.html"), "w", encoding="utf-8") as f:
        f.write("<!DOCTYPE html><title>blank</title>")


def usable_after(server, page_name):
    with chromium.Chromium() as browser:
        page = browser.page()
        page.screen(*DESKTOP)
        # The site's own renderer process is started before the clock runs.
        page.navigate(server.url("blank.html"))
        page.send("Page.addScriptToEvaluateOnNewDocument", {"source": f"window.usable = {chromium.USABLE};"})
        page.navigate(server.url(page_name))
        return page.evaluate("window.usable")


def main(site, runs=21):
    runs = int(runs)
    sizes = compressed_sizes(site)
    total = sum(sizes.values())
    print("Compressed with gzip -9:")
    for name, size in sizes.items():
        print(f"  {name:22} {size:8} bytes")
    print(f"  {'total':22} {total:8} bytes = {total / 1000:.1f} KB (target: at most {SIZE_TARGET // 1000} KB)")

    pages = {"orvanta": "index.html", "floor": "floor.html"}
    times = {name: [] for name in pages}
    with tempfile.TemporaryDirectory() as folder, chromium.Server(folder) as server:
        write_floor(site, folder)
        for page_name in pages.values():
            usable_after(server, page_name)
        for run in range(runs):
            for name in (pages if run % 2 == 0 else reversed(pages)):
                times[name].append(usable_after(server, pages[name]))
    print(f"Start-up in headless Chromium, navigation to usable, {runs} interleaved runs each after a warm-up"
          " (median, min-max)")
    for name, values in times.items():
        print(f"  {name:8} {statistics.median(values):7.1f} ms  ({min(values):.1f}-{max(values):.1f})")
    ratio = statistics.median(times["orvanta"]) / statistics.median(times["floor"])
    print(f"  ratio orvanta/floor: {ratio:.3f} (target: at most {TIME_TARGET})")
    return 0


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
