#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The worked example in the site's own page, as a user does it:

  worked_example.py SITE_FOLDER WIDTHxHEIGHT

On a screen of that size (a phone's when narrower than the window), once the
form is usable: "milimetros" picked in Combo2 from the keyboard, 1000 typed
into Text1 and 5 into Text2, "Calcular" clicked; Text4 must show 24, and the
page must not scroll sideways. A phone types as its on-screen keypad does,
with no key codes, in Portuguese, and puts 100,0 into Text3: its decimal
key's comma must come out as the full stop.
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import chromium  # noqa: E402

WINDOW_WIDTH = 822  # CSS pixels


def key(page, text, key_name=None, code=None, virtual=None):
    down = {"type": "keyDown" if text else "rawKeyDown", "key": key_name or text, "code": code or "",
            "windowsVirtualKeyCode": virtual or 0, "text": text}
    page.send("Input.dispatchKeyEvent", down)
    page.send("Input.dispatchKeyEvent", {"type": "keyUp", "key": down["key"], "code": down["code"],
                                         "windowsVirtualKeyCode": down["windowsVirtualKeyCode"]})


def click(page, control):
    x, y = page.evaluate(f"""(() => {{
        const control = document.getElementById('{control}');
        control.scrollIntoView({{block: 'center'}});
        const box = control.getBoundingClientRect();
        return [box.left + box.width / 2, box.top + box.height / 2];
    }})()""")
    for kind in ("mousePressed", "mouseReleased"):
        page.send("Input.dispatchMouseEvent", {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})


def type_number(page, box, number, on_screen=False):
    click(page, box)
    for character in number:
        if on_screen:
            page.send("Input.insertText", {"text": character})
        else:
            key(page, character, code="Digit" + character, virtual=ord(character))


def main(site, size):
    width, height = (int(n) for n in size.split("x"))
    with chromium.Server(site) as server, chromium.Chromium() as browser:
        page = browser.page()
        phone = width < WINDOW_WIDTH
        if phone:
            agent = page.evaluate("navigator.userAgent")
            page.send("Emulation.setUserAgentOverride", {"userAgent": agent, "acceptLanguage": "pt-BR"})
        page.screen(width, height, mobile=phone)
        page.navigate(server.url("index.html"))
        deadline = time.monotonic() + chromium.PATIENCE
        while page.evaluate("document.activeElement.id") != "Text3":
            if time.monotonic() > deadline:
                print("the form never became usable", file=sys.stderr)
                return 1
            time.sleep(0.05)
        if phone:
            for _ in range(3):
                key(page, "", "Backspace", "Backspace", 8)
            type_number(page, "Text3", "100,0", on_screen=True)
        type_number(page, "Text1", "1000", on_screen=phone)
        key(page, "", "Tab", "Tab", 9)  # to Combo2, the target's unit
        key(page, "m", code="KeyM", virtual=ord("M"))
        type_number(page, "Text2", "5", on_screen=phone)
        click(page, "Command1")
        # The click runs in the program's event loop, after this call.
        while page.evaluate("document.getElementById('Text4').value") == "":
            if time.monotonic() > deadline:
                break
            time.sleep(0.05)
        seen = page.evaluate("""[document.getElementById('Combo2').value, document.getElementById('Text1').value,
            document.getElementById('Text2').value, document.getElementById('Text3').value,
            document.getElementById('Text4').value,
            document.documentElement.scrollWidth - document.documentElement.clientWidth]""")
        print("Combo2, Text1, Text2, Text3, Text4, sideways scroll:", seen)
        return 0 if seen == ["milimetros", "1000", "5", "100.0" if phone else "100", "24", 0] else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
