#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs a test page in headless Chromium and exits with the page's status.

  run_suite.py FOLDER PAGE [--size WxH] [--lang LANGUAGE] [--query NAME=VALUE]...

The page's test program asks for user input through the binding
orvantaInput (tests/web/driver_web.js): a list of DevTools input commands,
which are sent here, so that the browser handles them as trusted input; then
the page's promise for them is resolved. --lang sets the browser's languages
(navigator.languages), --size the viewport in CSS pixels, --query the page's
arguments (arg=...) and environment.
"""

import argparse
import json
import os
import sys
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import chromium  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("page")
    parser.add_argument("--size", default="1024x768")
    parser.add_argument("--lang")
    parser.add_argument("--query", action="append", default=[])
    options = parser.parse_args()
    width, height = (int(n) for n in options.size.split("x"))
    query = urllib.parse.urlencode([tuple(pair.split("=", 1)) for pair in options.query])

    with chromium.Server(options.folder) as server, chromium.Chromium(echo=True) as browser:
        page = browser.page()

        def send_input(text):
            request = json.loads(text)
            for method, params in request["commands"]:
                page.send(method, params)
            # The page goes on after this call has returned.
            page.send("Runtime.evaluate", {"expression": f"setTimeout(() => OrvantaTest.done({request['id']}))"})

        page.add_binding("orvantaInput", send_input)
        # The clipboard for the paste keys and the menu's paste; the page
        # keeps the focus as a foreground window does.
        page.send("Browser.grantPermissions", {"origin": server.url().rstrip("/"),
                                               "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        page.send("Emulation.setFocusEmulationEnabled", {"enabled": True})
        if options.lang:
            agent = page.evaluate("navigator.userAgent")
            page.send("Emulation.setUserAgentOverride", {"userAgent": agent, "acceptLanguage": options.lang})
        page.screen(width, height)
        status = page.run_to_exit(server.url(options.page + ("?" + query if query else "")))
        if status is None:
            print(f"{options.page}: stopped by an error in the page", file=sys.stderr)
            return 1
        return status


if __name__ == "__main__":
    sys.exit(main())
