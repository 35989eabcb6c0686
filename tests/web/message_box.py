#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The error message box in the site's own page:

  message_box.py SITE_FOLDER

For each way of closing it (Enter, Escape, a click on "OK"): "Calcular" with
Text1 empty opens the box with its title, the critical-error icon and the
text; a click on "Fechar" behind it does nothing; once closed, the emptied
Text1 has the focus and the program still runs.
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import chromium  # noqa: E402
from worked_example import click, key  # noqa: E402

MESSAGE = "Digitação Inválida. A dimensão do objeto deve estar entre 1 e 10000."
CLOSINGS = [
    ("Enter", lambda page: key(page, "\r", "Enter", "Enter", 13)),
    ("Escape", lambda page: key(page, "", "Escape", "Escape", 27)),
    ("OK", lambda page: click(page, "MsgBoxOK")),
]


def wait_for(page, expression):
    deadline = time.monotonic() + chromium.PATIENCE
    while not page.evaluate(expression):
        if time.monotonic() > deadline:
            raise TimeoutError(expression)
        time.sleep(0.05)


def main(site):
    failures = 0
    with chromium.Server(site) as server, chromium.Chromium() as browser:
        page = browser.page()
        page.screen(1024, 768)
        page.navigate(server.url("index.html"))
        wait_for(page, "document.activeElement.id == 'Text3'")
        for name, close in CLOSINGS:
            click(page, "Command1")
            wait_for(page, "document.getElementById('MsgBox').open")
            shown = page.evaluate("""[document.getElementById('MsgBoxTitle').textContent,
                document.getElementById('MsgBoxText').textContent,
                getComputedStyle(document.querySelector('#MsgBox .error-icon')).display != 'none',
                document.activeElement.id]""")
            click(page, "Command4")
            close(page)
            wait_for(page, "!document.getElementById('MsgBox').open")
            wait_for(page, "document.activeElement.id == 'Text1'")
            after = page.evaluate("""[document.getElementById('Text1').value,
                document.getElementById('Form1') != null, document.getElementById('Ended').hidden]""")
            expected = (["Mensagem de Erro!", MESSAGE, True, "MsgBoxOK"], ["", True, True])
            ok = (shown, after) == expected
            failures += not ok
            print(f"closed by {name}: {'ok' if ok else 'FAILED'}: shown {shown}, then {after}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
