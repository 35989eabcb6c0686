#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The built site in headless Chromium (tests/web/chromium.py), one check per call.

Usage: site_check.py CHECK ARGUMENT...; exit status 0 passed, 1 failed. The checks:
"""

import base64
import contextlib
import json
import os
import re
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written beside the sources
import chromium  # noqa: E402

DESKTOP = (1280, 800)
PHONE = (360, 740)
WINDOW_WIDTH, WINDOW_HEIGHT = 822, 595  # CSS pixels
CHECK_PAGE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "check_page.py")



def fail(message):
    print(f"FAIL: {message}")
    return 1


def verdict(problems):
    """The exit status for the problems found, each printed."""
    for problem in problems:
        fail(problem)
    return 1 if problems else 0


@contextlib.contextmanager
def site_page(site, screen=DESKTOP, before=None):
    """The site's page and its server, the form usable, in a fresh Chromium on a screen of that size (one
    narrower than the window a phone's, in Portuguese); before(page, server) runs before it opens."""
    with chromium.Server(site) as server, chromium.Chromium() as browser:
        page = browser.page()
        phone = screen[0] < WINDOW_WIDTH
        if phone:
            page.languages("pt-BR")
        page.screen(*screen, mobile=phone)
        if before:
            before(page, server)
        page.navigate(server.url("index.html"))
        page.evaluate(chromium.USABLE)
        yield page, server


def type_into(page, control, text):
    """Replaces the box's text as typing does, through the page's key filter."""
    page.evaluate(f'document.getElementById("{control}").focus(), document.getElementById("{control}").select()')
    page.send("Input.insertText", {"text": text})


def type_number(page, box, number, on_screen):
    page.click(box)
    for character in number:
        if on_screen:
            page.send("Input.insertText", {"text": character})
        else:
            page.key(character, code="Digit" + character, virtual=ord(character))


def worked_example(page, on_screen=False):
    """Text4 once the worked example (1/3, 1000 milimetros wide, 5 metros, 100 %) is typed as a user does:
    on a keyboard's keys, or on_screen on a phone's keypad, which sends no key codes ("100,0" into Text3)."""
    if on_screen:
        for _ in range(3):
            page.key("", "Backspace", "Backspace", 8)
        type_number(page, "Text3", "100,0", on_screen)
    type_number(page, "Text1", "1000", on_screen)
    page.key("", "Tab", "Tab", 9)  # to Combo2, the target's unit
    page.key("m", code="KeyM", virtual=ord("M"))
    type_number(page, "Text2", "5", on_screen)
    page.click("Command1")
    # The click runs in the program's event loop, after this call.
    page.wait_for('document.getElementById("Text4").value !== ""')
    return page.evaluate('document.getElementById("Text4").value')


def cached(site):
    """SITE: every file of SITE is in sw.js's list, and every listed one in SITE."""
    with open(os.path.join(site, "sw.js")) as f:
        listed = set(json.loads(re.search(r"const FILES = (\[.*?\]);", f.read(), re.S).group(1)))
    present = {name for name in os.listdir(site) if name != "sw.js"}
    problems = [f"{name} is not in sw.js's list" for name in sorted(present - listed)]
    problems += [f"sw.js lists {name}, which the site lacks" for name in sorted(listed - present - {"./"})]
    if "./" not in listed or "index.html" not in present:
        problems.append("the page's own address ./ is not kept")
    return verdict(problems)


def run_program(folder, program):
    """The program's standard output lines, run in Chromium."""
    with chromium.Server(folder) as server, chromium.Chromium() as browser:
        page = browser.page()
        status = page.run_to_exit(server.url(f"{program}.html"))
        if status is None:
            raise RuntimeError(f"{program}: an error in the page: {page.errors}")
        if status != 0:
            raise RuntimeError(f"{program}: exit status {status}")
        return page.evaluate("window.output")


def oracle(folder, program, linux_program):
    """DIR PROGRAM LINUX: the test page DIR/PROGRAM.html prints what the Linux build's program LINUX prints."""
    if not os.access(linux_program, os.X_OK):
        return fail(f"no Linux program at {linux_program}: build the Linux tree and pass -DORVANTA_LINUX_BUILD")
    linux = subprocess.run([linux_program], check=True, capture_output=True, text=True).stdout.splitlines()
    web = run_program(folder, program)
    # Enough rows that every choice met fractional and whole values.
    if len(linux) < 3000:
        return fail(f"the Linux table has only {len(linux)} lines")
    for number, (expected, got) in enumerate(zip(linux, web), 1):
        if expected != got:
            return fail(f"line {number}: Linux {expected!r}, Chromium {got!r}")
    if len(web) != len(linux):
        return fail(f"Chromium printed {len(web)} lines, Linux {len(linux)}")
    print(f"{len(linux)} lines alike")
    return 0


def printed(site, folder, program):
    """SITE DIR PROGRAM: the page printed after "Imprimir" of the worked example has the lines that the test
    page DIR/PROGRAM.html prints, the desktop printers' lines."""
    expected = run_program(folder, program)

    def before(page, server):
        page.send("Emulation.setLocaleOverride", {"locale": "pt-BR"})
        # The browser's print dialog, which the user answers, is not there
        # headless: Page.printToPDF prints in its place.
        page.send("Page.addScriptToEvaluateOnNewDocument",
                  {"source": "window.printCalls = 0; window.print = () => { window.printCalls++; };"})

    with site_page(site, before=before) as (page, server):
        if worked_example(page) != "24":
            return fail("the worked example does not give 24")
        page.click("Command3")
        if page.evaluate("window.printCalls") != 1:
            return fail('"Imprimir" did not open the browser\'s print dialog once')
        pdf = base64.b64decode(page.send("Page.printToPDF", {"preferCSSPageSize": True})["data"])
    # The desktop printers' checks of their page (tests/check_page.py).
    with tempfile.TemporaryDirectory() as scratch:
        for name, data in (("page.pdf", pdf), ("expected.txt", "\n".join(expected).encode())):
            with open(os.path.join(scratch, name), "wb") as f:
                f.write(data)
        return subprocess.run([sys.executable, CHECK_PAGE, os.path.join(scratch, "page.pdf"),
                               os.path.join(scratch, "expected.txt")]).returncode


# What the page keeps in the browser besides its offline copy: nothing.
KEPT = """(async () => ({
    cookies: document.cookie, localStorage: localStorage.length, sessionStorage: sessionStorage.length,
    databases: (await indexedDB.databases()).length, caches: (await caches.keys()).length,
}))()"""


def offline(site):
    """SITE: the page reloaded with the server stopped still calculates; it asks no other host and keeps
    nothing but its offline copy."""
    problems = []
    with site_page(site, before=lambda page, server: page.send("Network.enable")) as (page, server):
        # A guard against waiting for ever, not a measure of speed.
        if not page.evaluate("Promise.race([navigator.serviceWorker.ready.then(() => true),"
                             " new Promise(resolve => setTimeout(resolve, 60000, false))])"):
            return fail("no service worker became active")
        asked = [event["params"]["request"]["url"] for event in page.events
                 if event["method"] == "Network.requestWillBeSent"]
        problems += [f"the page asked another host for {url}" for url in asked
                     if not url.startswith((server.url(), "data:", "blob:"))]
        server.stop()
        page.navigate()
        page.evaluate(chromium.USABLE)
        if not page.evaluate("navigator.serviceWorker.controller !== null"):
            problems.append("the reloaded page is not served by the service worker")
        result = worked_example(page)
        if result != "24":
            problems.append(f"offline, the worked example gives {result!r}, not 24")
        kept = page.evaluate(KEPT)
        if kept != {"cookies": "", "localStorage": 0, "sessionStorage": 0, "databases": 0, "caches": 1}:
            problems.append(f"the page keeps more than its offline copy: {kept}")
    return verdict(problems)


def value_of(*controls):
    return f"[{', '.join(f'document.getElementById({json.dumps(c)}).value' for c in controls)}]"


# Each state of the form at phone size: how to reach it from the one
# before, and what shows that it was reached.
NARROW_STATES = [
    ("started", lambda page: None, chromium.USABLE),
    ("worked example typed on the phone's keypad", lambda page: worked_example(page, on_screen=True),
     value_of("Combo2", "Text1", "Text2", "Text3", "Text4") + '.join() === "milimetros,1000,5,100.0,24"'),
    ("message box open", lambda page: (type_into(page, "Text1", "0"), page.click("Command1")),
     'document.querySelector("dialog[open]") !== null'),
]


def narrow(site):
    """SITE: at 360 x 740 CSS pixels, in Portuguese, the page opens at its top, the worked example typed on
    the on-screen keypad gives 24, and nothing scrolls sideways."""
    problems = []
    with site_page(site, PHONE) as (page, server):
        if page.evaluate("scrollY") != 0:
            problems.append("at phone size the page does not open at its top")
        for state, reach, reached in NARROW_STATES:
            reach(page)
            if not page.evaluate(reached):
                problems.append(f"at phone size, not {state}: {page.evaluate(value_of('Text3', 'Text4'))}")
            widths = page.evaluate("[document.documentElement.scrollWidth, document.documentElement.clientWidth]")
            print(f"{state}: scroll width {widths[0]}, client width {widths[1]}")
            if widths[0] > widths[1]:
                problems.append(f"{state}: the page scrolls sideways")
    return verdict(problems)


def captions(site):
    """SITE: at a desktop's size the form is centred in the viewport, and every caption shows whole: a caption
    cut at its box's edge keeps its text inside the box, and one that runs on past its box stays on one line."""
    with site_page(site) as (page, server):
        place = page.evaluate('(({x, y}) => [x, y])(document.getElementById("Form1").getBoundingClientRect())')
        cut = page.evaluate("""[...document.querySelectorAll("#Form1 label, #Form1 p, #Form1 h1")].filter(caption => {
            const text = document.createRange();
            text.selectNodeContents(caption);
            return getComputedStyle(caption).overflow === "visible" ? text.getClientRects().length !== 1
                                                                    : caption.scrollHeight > caption.clientHeight;
        }).map(caption => caption.id)""")
    centred = [(DESKTOP[0] - WINDOW_WIDTH) // 2, (DESKTOP[1] - WINDOW_HEIGHT) // 2]
    return verdict([f"{caption}: part of its text is not shown" for caption in cut] +
                   ([f"the form is at {place}, not centred at {centred}"] if place != centred else []))


MESSAGE = "Digitação Inválida. A dimensão do objeto deve estar entre 1 e 10000."
CLOSINGS = [
    ("Enter", lambda page: page.key("\r", "Enter", "Enter", 13)),
    ("Escape", lambda page: page.key("", "Escape", "Escape", 27)),
    ("OK", lambda page: page.click("MsgBoxOK")),
]


def message(site):
    """SITE: the error box shows its title, icon and text, "Fechar" behind it does nothing, and Enter, Escape
    and "OK" each close it, the emptied Text1 then focused."""
    problems = []
    with site_page(site) as (page, server):
        for name, close in CLOSINGS:
            page.click("Command1")  # Text1 is empty
            page.wait_for('document.getElementById("MsgBox").open')
            shown = page.evaluate("""[document.getElementById("MsgBoxTitle").textContent,
                document.getElementById("MsgBoxText").textContent,
                getComputedStyle(document.querySelector("#MsgBox .error-icon")).display != "none",
                document.activeElement.id]""")
            page.click("Command4")
            close(page)
            page.wait_for('!document.getElementById("MsgBox").open')
            page.wait_for('document.activeElement.id == "Text1"')
            after = page.evaluate("""[document.getElementById("Text1").value,
                document.getElementById("Form1") != null, document.getElementById("Ended").hidden]""")
            print(f"closed by {name}: shown {shown}, then {after}")
            if (shown, after) != (["Mensagem de Erro!", MESSAGE, True, "MsgBoxOK"], ["", True, True]):
                problems.append(f"closed by {name}")
    return verdict(problems)


def names(site, spoken_names):
    """SITE LINUX: the accessibility tree names the boxes, lists and buttons as the Linux build's
    screen_reader_names LINUX says screen readers hear them."""
    with site_page(site) as (page, server):
        heard = {}
        for node in page.send("Accessibility.getFullAXTree")["nodes"]:
            role = node.get("role", {}).get("value")
            if node.get("ignored") or role not in ("textbox", "combobox", "button"):
                continue
            attributes = page.send("DOM.describeNode", {"backendNodeId": node["backendDOMNodeId"]})["node"]
            attributes = dict(zip(attributes["attributes"][::2], attributes["attributes"][1::2]))
            heard[attributes.get("id")] = (role, node.get("name", {}).get("value"))
    # The Linux build's list of what screen readers hear: a box or list by its
    # name as written out for the tests, a button by its caption.
    roles = {"text": "textbox", "list": "combobox", "button": "button"}
    lines = subprocess.run([spoken_names], check=True, capture_output=True, text=True).stdout.splitlines()
    problems = []
    for control, kind, name, _ in (line.split("\t") for line in lines):
        if kind not in roles:
            continue
        role = roles[kind]
        print(f"{control}: heard {heard.get(control)}")
        if heard.get(control) != (role, name):
            problems.append(f"{control} is heard as {heard.get(control)}, not {(role, name)}")
    return verdict(problems)


CHECKS = {"cached": cached, "oracle": oracle, "printed": printed, "offline": offline, "narrow": narrow,
          "captions": captions, "names": names, "message": message}

if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1] not in CHECKS:
        sys.exit(__doc__ + "".join(f"  {name} {check.__doc__}\n" for name, check in CHECKS.items()))
    sys.exit(CHECKS[sys.argv[1]](*sys.argv[2:]))
