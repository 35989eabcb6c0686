#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Headless Chromium for the web build's tests and benchmark, on a closed network: nothing but 127.0.0.1.

Chromium   Debian's chromium, headless, with a fresh profile in a temporary folder removed when it
           stops; its page() is a Session: the DevTools protocol on one page.

Usage: chromium.py DIR PAGE [WxH [LANGUAGES]]
  opens PAGE of DIR (its query string gives the test program's arguments and environment) on a screen of
  WxH CSS pixels (1024x768) with the browser's languages LANGUAGES, gives it trusted input when it asks,
  prints its console and exits with the status the page gives to window.orvantaExit(status); an uncaught
  error in the page ends the run with status 1
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.request

import websocket

sys.dont_write_bytecode = True  # nothing written beside the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from static_server import Server  # noqa: E402,F401  (the tests' and the benchmark's server)

CHROMIUM = "/usr/bin/chromium"
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]
# Waits on the browser are guards against a hang, not measurements.
PATIENCE = 120
# Resolves, with the time from navigation, once the site's form is usable:
# the lists filled and the focus in Text3.
USABLE = """new Promise(resolve => {
    const check = () => document.getElementById("Combo1")?.options.length > 0 &&
        document.activeElement?.id === "Text3" ? resolve(performance.now()) : setTimeout(check, 0);
    check();
})"""


class ProtocolError(Exception):
    pass


class Session:
    """One page over the DevTools protocol, read on the caller's thread.

    Events that no handler takes are kept until wait_event() takes them.
    Binding callbacks run one at a time, outside any other callback, so a
    callback may itself send commands (Input.dispatchKeyEvent and the like).
    """

    def __init__(self, url, echo=False):
        self._ws = websocket.create_connection(url, suppress_origin=True, enable_multithread=False)
        self._next_id = 0
        self._responses = {}
        self._calls = []
        self._in_callback = False
        self.events = []
        self.errors = []
        self.echo = echo
        self._bindings = {}
        self.send("Page.enable")
        self.send("Runtime.enable")
        self.send("Inspector.enable")

    def close(self):
        self._ws.close()

    def _receive(self, deadline):
        remaining = deadline - time.monotonic()
        if remaining <= 0:
            raise TimeoutError("no answer from Chromium")
        self._ws.settimeout(remaining)
        try:
            message = json.loads(self._ws.recv())
        except websocket.WebSocketTimeoutException:
            raise TimeoutError("no answer from Chromium") from None
        if "id" in message:
            self._responses[message["id"]] = message
        elif message["method"] == "Runtime.consoleAPICalled":
            params = message["params"]
            text = " ".join(str(arg.get("value", arg.get("description", ""))) for arg in params["args"])
            if self.echo:
                print(f"{params['type']}: {text}" if params["type"] != "log" else text, flush=True)
        elif message["method"] == "Runtime.exceptionThrown":
            details = message["params"]["exceptionDetails"]
            self._error(details.get("exception", {}).get("description", details["text"]))
        elif message["method"] == "Inspector.targetCrashed":
            self._error("the page crashed")
        elif message["method"] == "Runtime.bindingCalled":
            params = message["params"]
            if params["name"] in self._bindings:
                self._calls.append((self._bindings[params["name"]], params["payload"]))
        else:
            self.events.append(message)
        self._run_calls()

    def _error(self, text):
        self.errors.append(text)
        if self.echo:
            print(text, flush=True)

    def _run_calls(self):
        while self._calls and not self._in_callback:
            callback, payload = self._calls.pop(0)
            self._in_callback = True
            try:
                callback(payload)
            finally:
                self._in_callback = False

    def send(self, method, params=None, timeout=PATIENCE):
        """The command's result; a protocol error raises ProtocolError."""
        self._next_id += 1
        command_id = self._next_id
        self._ws.send(json.dumps({"id": command_id, "method": method, "params": params or {}}))
        deadline = time.monotonic() + timeout
        while command_id not in self._responses:
            self._receive(deadline)
        response = self._responses.pop(command_id)
        if "error" in response:
            raise ProtocolError(f"{method}: {response['error'].get('message')}")
        return response["result"]

    def wait_event(self, method, timeout=PATIENCE):
        """The first kept event named method (taken from the kept ones)."""
        deadline = time.monotonic() + timeout
        while True:
            for index, event in enumerate(self.events):
                if event["method"] == method:
                    return self.events.pop(index)["params"]
            self._receive(deadline)

    def wait_until(self, condition, timeout=PATIENCE):
        """Reads events, running bindings, until condition() is true."""
        deadline = time.monotonic() + timeout
        while not condition():
            self._receive(deadline)

    def evaluate(self, expression, timeout=PATIENCE):
        """The expression's value (awaited when a promise); an exception in the page raises ProtocolError."""
        result = self.send("Runtime.evaluate", {"expression": expression, "awaitPromise": True,
                                                "returnByValue": True}, timeout)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            raise ProtocolError(details.get("exception", {}).get("description", details["text"]))
        return result["result"].get("value")

    def add_binding(self, name, callback):
        """window.NAME(text) in the page calls callback(text) here."""
        self._bindings[name] = callback
        self.send("Runtime.addBinding", {"name": name})

    def navigate(self, url=None, timeout=PATIENCE):
        """Opens url, or reloads the page, and waits for its load event."""
        self.events.clear()
        result = self.send("Page.navigate", {"url": url}) if url else self.send("Page.reload")
        if "errorText" in result:
            raise ProtocolError(f"{url}: {result['errorText']}")
        self.wait_event("Page.loadEventFired", timeout)

    def run_to_exit(self, url, timeout=3600):
        """Opens url and waits until the page calls window.orvantaExit(status): the status, or None when an
        uncaught error in the page came first. Test suites may run long; the test's own time limit is the guard."""
        status = []
        self.add_binding("orvantaExitBinding", lambda text: status.append(int(text)))
        # The page may give a number; bindings take a text.
        self.send("Page.addScriptToEvaluateOnNewDocument",
                  {"source": "window.orvantaExit = status => window.orvantaExitBinding(String(status));"})
        self.send("Page.navigate", {"url": url})
        self.wait_until(lambda: status or self.errors, timeout)
        return status[0] if status else None

    def wait_for(self, expression, timeout=PATIENCE):
        """Asks the page until expression is true (TimeoutError after timeout)."""
        deadline = time.monotonic() + timeout
        while not self.evaluate(expression):
            if time.monotonic() > deadline:
                raise TimeoutError(expression)
            time.sleep(0.05)

    def key(self, text, key=None, code="", virtual=0):
        """A key pressed and let go as the keyboard sends it; text for a key that types."""
        down = {"type": "keyDown" if text else "rawKeyDown", "key": key or text, "code": code,
                "windowsVirtualKeyCode": virtual, "text": text}
        self.send("Input.dispatchKeyEvent", down)
        self.send("Input.dispatchKeyEvent", {"type": "keyUp", "key": down["key"], "code": code,
                                             "windowsVirtualKeyCode": virtual})

    def click(self, control):
        """A real mouse click in the middle of the control with that id, scrolled into view."""
        x, y = self.evaluate(f"""(() => {{
            const control = document.getElementById("{control}");
            control.scrollIntoView({{block: "center"}});
            const box = control.getBoundingClientRect();
            return [box.x + box.width / 2, box.y + box.height / 2];
        }})()""")
        for kind in ("mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent", {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})

    def languages(self, accept):
        """The browser's languages (navigator.languages), as an Accept-Language list."""
        agent = self.evaluate("navigator.userAgent")
        self.send("Emulation.setUserAgentOverride", {"userAgent": agent, "acceptLanguage": accept})

    def screen(self, width, height, mobile=False):
        """The page's viewport in CSS pixels, as on a device of that size."""
        self.send("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": mobile})


class Chromium:
    """Headless Chromium with a private profile; stopped and removed on exit, whatever happened."""

    def __init__(self, echo=False):
        self.echo = echo
        self._profile = None
        self._process = None
        self._sessions = []

    def start(self):
        self._profile = tempfile.mkdtemp(prefix="orvanta-chromium-")
        home = os.path.join(self._profile, "home")
        os.mkdir(home)
        # Chromium writes caches and crash reports under HOME and XDG folders.
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home, XDG_CACHE_HOME=home)
        flags = FLAGS + [f"--user-data-dir={self._profile}/profile", "--remote-debugging-port=0"]
        self._log = open(os.path.join(self._profile, "chromium.log"), "wb")
        self._process = subprocess.Popen([CHROMIUM, *flags, "about:blank"], env=env, stdin=subprocess.DEVNULL,
                                         stdout=self._log, stderr=self._log, start_new_session=True)
        port_file = os.path.join(self._profile, "profile", "DevToolsActivePort")
        deadline = time.monotonic() + PATIENCE
        while not self._port_from(port_file):
            if self._process.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("Chromium did not start:\n" + self.log())
            time.sleep(0.05)
        return self

    def _port_from(self, port_file):
        try:
            with open(port_file) as f:
                lines = f.read().split("\n")
        except FileNotFoundError:
            return False
        if len(lines) < 2 or not lines[0].isdigit():
            return False  # still being written
        self.port = int(lines[0])
        return True

    def log(self):
        with open(os.path.join(self._profile, "chromium.log"), errors="replace") as f:
            return f.read()[-4000:]

    def page(self):
        """A Session on the browser's first page."""
        with urllib.request.urlopen(f"http://127.0.0.1:{self.port}/json/list") as answer:
            targets = json.load(answer)
        page = next(target for target in targets if target["type"] == "page")
        session = Session(page["webSocketDebuggerUrl"], self.echo)
        self._sessions.append(session)
        return session

    def stop(self):
        for session in self._sessions:
            session.close()
        if self._process:
            self._end_group()
            self._log.close()
        if self._profile:
            shutil.rmtree(self._profile, ignore_errors=True)

    def _end_group(self):
        """Ends the process group Chromium leads, its helpers too, and waits until none is left: they
        write into the profile until they end."""
        for sig in (signal.SIGTERM, signal.SIGKILL):
            deadline = time.monotonic() + 30
            try:
                os.killpg(self._process.pid, sig)
                while time.monotonic() < deadline:
                    self._process.poll()  # reaps the browser, which would stay in the group otherwise
                    os.killpg(self._process.pid, 0)
                    time.sleep(0.05)
            except ProcessLookupError:
                return

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.stop()
            raise

    def __exit__(self, *exc):
        self.stop()


def run_page(folder, page, size="1024x768", languages=None):
    """The exit status a test page reports; its console goes to standard output. The page's test program
    asks for user input through the binding orvantaInput (driver_web.js): DevTools input commands, sent
    here so that the browser takes them as trusted input, after which the page's promise is resolved."""
    with Server(folder) as server, Chromium(echo=True) as chromium:
        session = chromium.page()

        def send_input(text):
            request = json.loads(text)
            for method, params in request["commands"]:
                session.send(method, params)
            # The page goes on after this call has returned.
            session.send("Runtime.evaluate", {"expression": f"setTimeout(() => OrvantaTest.done({request['id']}))"})

        session.add_binding("orvantaInput", send_input)
        # The clipboard for the paste keys and the menu's paste; the page
        # keeps the focus as a foreground window does.
        session.send("Browser.grantPermissions", {"origin": server.url().rstrip("/"),
                                                  "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        session.send("Emulation.setFocusEmulationEnabled", {"enabled": True})
        if languages:
            session.languages(languages)
        session.screen(*(int(n) for n in size.split("x")))
        status = session.run_to_exit(server.url(page))
        if status is None:
            print(f"{page}: stopped by an error in the page", file=sys.stderr)
            return 1
        return status


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4, 5):
        sys.exit(__doc__)
    sys.exit(run_page(*sys.argv[1:]))
