#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A socket proxy in front of the private spooler that breaks uploads: it
passes every connection on to TARGET, both ways, until 4 KiB of a PDF
document (counted from its "%PDF-") have gone through; then it drops the
connection (MODE drop) or passes nothing more on it, keeping it open
(MODE stall).  Prints "ready" when it listens on LISTEN.
Usage: upload_proxy.py drop|stall LISTEN TARGET      (Unix socket paths)"""
import socket
import sys
import threading

DOCUMENT_BYTES = 4096


def close(*sockets):
    for sock in sockets:
        try:
            sock.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass  # already closed by the other side


def forward(source, sink, break_upload_by):
    stream = b""
    while data := source.recv(65536):
        if break_upload_by:
            stream += data
            start = stream.find(b"%PDF-")
            if start >= 0 and len(stream) - start > DOCUMENT_BYTES:
                sink.sendall(data[: len(data) - (len(stream) - start - DOCUMENT_BYTES)])
                if break_upload_by == "stall":
                    threading.Event().wait()
                break
        sink.sendall(data)
    close(source, sink)


def main(mode, listen_path, target_path):
    listener = socket.socket(socket.AF_UNIX)
    listener.bind(listen_path)
    listener.listen()
    print("ready", flush=True)
    while True:
        client, _ = listener.accept()
        spooler = socket.socket(socket.AF_UNIX)
        spooler.connect(target_path)
        threading.Thread(target=forward, args=(client, spooler, mode), daemon=True).start()
        threading.Thread(target=forward, args=(spooler, client, None), daemon=True).start()


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in ("drop", "stall"):
        sys.exit(__doc__)
    main(*sys.argv[1:])
