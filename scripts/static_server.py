#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A static file server for one folder on 127.0.0.1: ./serve-web.sh's, the browser tests' and the benchmark's.

Usage: static_server.py DIR [PORT]   serves DIR until interrupted, printing the address (PORT 0: a free one)
"""

import functools
import http.server
import os
import sys
import threading


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css",
                      ".wasm": "application/wasm", ".webmanifest": "application/manifest+json",
                      ".png": "image/png", ".svg": "image/svg+xml", ".json": "application/json"}

    def end_headers(self):
        # Every load asks the server again: a page seen offline came from the
        # service worker, and a new build is seen at once.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, *args):
        pass


class QuietServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A browser that leaves in the middle of an answer is no fault of the server's.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


class Server:
    """Serves folder from start() to stop(), on port (a free one when 0, kept across a stop and a start)."""

    def __init__(self, folder, port=0):
        self.folder = os.path.abspath(folder)
        self.port = port
        self._httpd = None

    def start(self):
        self._httpd = QuietServer(("127.0.0.1", self.port), functools.partial(Handler, directory=self.folder))
        self.port = self._httpd.server_address[1]
        threading.Thread(target=self._httpd.serve_forever, daemon=True).start()
        return self

    def stop(self):
        if self._httpd:
            self._httpd.shutdown()
            self._httpd.server_close()
            self._httpd = None

    def url(self, path=""):
        return f"http://127.0.0.1:{self.port}/{path}"

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    with Server(sys.argv[1], int(sys.argv[2]) if len(sys.argv) == 3 else 0) as server:
        print(f"Serving {server.folder} at {server.url()}  (Ctrl+C stops)", flush=True)
        try:
            threading.Event().wait()
        except KeyboardInterrupt:
            pass
