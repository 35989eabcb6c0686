#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the running window as a screen reader does, over AT-SPI.

Run inside tests/x11_session.sh: starts PROGRAM with Qt's AT-SPI bridge on
and checks the window's children against what NAMES prints (control, kind,
name, description): each there once with its role and name, the text
boxes with their description (each box that takes input its accepted
range), in reading order, top to bottom and left
to right as on the screen; the pick lists read their selected item. Then
types 6 and 30 into the number boxes through EditableText, presses
"Calcular" through its action and expects the result box to read 24.

Usage: accessibility.py PROGRAM NAMES   Exit status: 0 passed, 1 failed.
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

ROLES = {"label": ("label",), "text": ("text", "entry"), "list": ("combo box",), "button": ("push button",)}


def wait_for(what, check, program, seconds=20):
    """check()'s first true result; AT-SPI errors while the window is being built count as not yet."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if program.poll() is not None:
            sys.exit(f"FAIL: the program ended (status {program.returncode}) before {what}")
        try:
            found = check()
            if found:
                return found
        except GLib.GError:
            pass
        time.sleep(0.1)
    sys.exit(f"FAIL: no {what} within {seconds} s")


def check_tree(children, expected):
    problems = []
    heard = [(node.getRoleName(), node.name, node.description) for node in children]
    for line in heard:
        print("heard: %s %r, described %r" % line)
    nodes = {}
    for control, kind, name, description in expected:
        found = [i for i, (role, heard_name, _) in enumerate(heard) if role in ROLES[kind] and heard_name == name]
        if len(found) != 1:
            problems.append(f"{control}: {len(found)} {kind}s named {name!r}")
            continue
        nodes[control] = children[found[0]]
        if kind == "text" and heard[found[0]][2] != description:
            problems.append(f"{control}: described as {heard[found[0]][2]!r}, not {description!r}")
        elif kind == "text" and not description and nodes[control].getState().contains(pyatspi.STATE_ENABLED):
            problems.append(f"{control}: takes input but describes no range")
        if kind == "list" and not nodes[control].queryText().getText(0, -1):
            problems.append(f"{control}: reads no selected item")
    place = [(e.y, e.x) for e in (node.queryComponent().getExtents(pyatspi.WINDOW_COORDS) for node in children)]
    if place != sorted(place):
        problems.append(f"the children are not in reading order: {[name[:30] for _, name, _ in heard]}")
    return problems, nodes


def work_example(nodes, program):
    for control, value in (("Text1", "6"), ("Text2", "30")):
        nodes[control].queryEditableText().setTextContents(value)
    action = nodes["Command1"].queryAction()
    presses = [i for i in range(action.nActions) if action.getName(i).lower() in ("press", "click")]
    if not presses or not action.doAction(presses[0]):
        return ["Calcular: no press action"]
    result = nodes["Text4"].queryText()
    wait_for("result in Text4", lambda: result.getText(0, -1), program, 10)
    return [] if result.getText(0, -1) == "24" else [f"the result box reads {result.getText(0, -1)!r}, not '24'"]


def main(program_path, names_program):
    printed = subprocess.run([names_program], check=True, capture_output=True, text=True).stdout
    expected = [line.split("\t") for line in printed.splitlines()]
    # A desktop has its accessibility bus before any program starts.
    desktop = pyatspi.Registry.getDesktop(0)
    program = subprocess.Popen([program_path], stdin=subprocess.DEVNULL,
                               env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    try:
        app = wait_for("program on the accessibility bus",
                       lambda: [a for a in desktop if a and a.get_process_id() == program.pid], program)[0]
        if app.name != "Orvanta":
            print(f"FAIL: the application is named {app.name!r}, not 'Orvanta'")
            return 1
        window = wait_for("window 'Cálculo de Lentes'",
                          lambda: [w for w in app if w and w.name == "Cálculo de Lentes"], program)[0]
        children = wait_for(f"{len(expected)} children of the window",
                            lambda: window.childCount == len(expected) and list(window), program)
        problems, nodes = check_tree(children, expected)
        if not problems:
            problems = work_example(nodes, program)
    finally:
        program.terminate()
        program.wait(10)
    for problem in problems:
        print(f"FAIL: {problem}")
    print("accessibility: " + ("FAIL" if problems else "PASS"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
