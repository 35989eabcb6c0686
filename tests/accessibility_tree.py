#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the running window the way a screen reader does, over AT-SPI.

Started by tests/accessibility.sh inside a private X server and D-Bus
session: starts the program, prints its accessible tree (role, name, text,
one line per object), checks that every box, list and button is named by
its caption, that the window's controls come in reading order (top to
bottom, left to right) and that the number boxes describe their accepted
range, then works the example of a 1000 mm target seen from 5 m by a
1/3" camera through accessibility actions and synthesized input only, and
expects the result box to read 24.

Usage: accessibility_tree.py PROGRAM [SECONDS]
Exit status: 0 all checks passed, 1 a check failed, 2 could not run.
"""

import signal
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

import pyatspi  # noqa: E402

APPLICATION_NAME = "Orvanta"
WINDOW_TITLE = "Cálculo de Lentes"
TEXT1 = "Dimensão Máxima do Alvo (Objeto ou Cena):"
COMBO2 = "Dimensão Máxima do Alvo (Objeto ou Cena): unidade"
COMBO3 = "Dimensão Máxima do Alvo (Objeto ou Cena): altura, largura ou diagonal"
TEXT2 = "Distância da Câmera/Lente:"
TEXT3 = "Porcentagem da Tela a ser Ocupada pela Imagem: %"
TEXT4 = "Tamanho da Lente a ser utilizada (Distância Focal) mm"

TEXT_ROLES = (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
LIST_ROLES = (pyatspi.ROLE_COMBO_BOX,)
BUTTON_ROLES = (pyatspi.ROLE_PUSH_BUTTON,)
LABEL_ROLES = (pyatspi.ROLE_LABEL,)

# Control, kind, and the name a screen reader must announce for it.
EXPECTED = [
    ("Combo1", LIST_ROLES, "Formato da Câmera (Tamanho do Sensor CCD): de Polegada"),
    ("Text1", TEXT_ROLES, TEXT1),
    ("Combo2", LIST_ROLES, COMBO2),
    ("Combo3", LIST_ROLES, COMBO3),
    ("Text2", TEXT_ROLES, TEXT2),
    ("Combo4", LIST_ROLES, "Distância da Câmera/Lente: unidade"),
    ("Text3", TEXT_ROLES, TEXT3),
    ("Text4", TEXT_ROLES, TEXT4),
    ("Command1", BUTTON_ROLES, "Calcular"),
    ("Command2", BUTTON_ROLES, "Limpar"),
    ("Command3", BUTTON_ROLES, "Imprimir"),
    ("Command5", BUTTON_ROLES, "Ajuda"),
    ("Command4", BUTTON_ROLES, "Fechar"),
]

KIND = {TEXT_ROLES: "text box", LIST_ROLES: "drop-down list", BUTTON_ROLES: "button", LABEL_ROLES: "label"}

# The window's children as the eye reads the window: top to bottom, and left
# to right within a row. A name ending in "..." is the start of a long text.
READING_ORDER = [
    (LABEL_ROLES, "Orvanta Versão 1.0 Beta"),
    (LABEL_ROLES, "Para calcular o tamanho focal necessário para a lente..."),
    (LABEL_ROLES, "Nota: É possível utilizar lentes de formato maiores..."),
    (LABEL_ROLES, "Formato da Câmera (Tamanho do Sensor CCD):"),
    (LIST_ROLES, "Formato da Câmera (Tamanho do Sensor CCD): de Polegada"),
    (LABEL_ROLES, "de Polegada"),
    (LABEL_ROLES, "Dimensão Máxima do Alvo (Objeto ou Cena):"),
    (TEXT_ROLES, TEXT1),
    (LIST_ROLES, COMBO2),
    (LIST_ROLES, COMBO3),
    (LABEL_ROLES, "Distância da Câmera/Lente:"),
    (TEXT_ROLES, TEXT2),
    (LIST_ROLES, "Distância da Câmera/Lente: unidade"),
    (LABEL_ROLES, "Porcentagem da Tela a ser Ocupada pela Imagem:"),
    (TEXT_ROLES, TEXT3),
    (LABEL_ROLES, "%"),
    (BUTTON_ROLES, "Calcular"),
    (BUTTON_ROLES, "Limpar"),
    (BUTTON_ROLES, "Imprimir"),
    (BUTTON_ROLES, "Ajuda"),
    (BUTTON_ROLES, "Fechar"),
    (LABEL_ROLES, "Tamanho da Lente a ser utilizada (Distância Focal)"),
    (TEXT_ROLES, TEXT4),
    (LABEL_ROLES, "mm"),
]

# Number box and the description a screen reader reads after its name.
DESCRIPTIONS = [
    ("Text1", TEXT1, "Número entre 1 e 10000"),
    ("Text2", TEXT2, "Número entre 1 e 10000"),
    ("Text3", TEXT3, "Número entre 1 e 100"),
]

KEY_TAB = 0xFF09
KEY_M = 0x006D

MAX_NODES = 2000
MAX_DEPTH = 30


class Failed(Exception):
    pass


class Deadline:
    def __init__(self, seconds):
        self.end = time.monotonic() + seconds

    def left(self):
        return self.end - time.monotonic()


def say(line=""):
    print(line, flush=True)


def poll(what, check, seconds, deadline, program, interval=0.1):
    """Calls check() until it returns something true, for at most `seconds`.

    AT-SPI errors while the window is still being built count as "not yet".
    """
    end = time.monotonic() + max(0.0, min(seconds, deadline.left()))
    last_error = None
    while True:
        if program.poll() is not None:
            raise Failed(f"the program ended (status {program.returncode}) while waiting for {what}")
        try:
            result = check()
            if result:
                return result
        except GLib.GError as error:
            last_error = error
        if time.monotonic() >= end:
            detail = f" (last AT-SPI error: {last_error.message})" if last_error else ""
            raise Failed(f"timed out after {seconds:g} s waiting for {what}{detail}")
        time.sleep(interval)


def start_accessibility_bus(deadline):
    # A screen reader's desktop has the accessibility bus running before any
    # program starts; ask the session bus for it so it is started the same way.
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    last = None
    end = time.monotonic() + min(15, deadline.left())
    while time.monotonic() < end:
        try:
            reply = bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                  GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 5000, None)
            return reply.unpack()[0]
        except GLib.GError as error:
            last = error
            time.sleep(0.2)
    raise Failed(f"the accessibility bus did not start: {last.message if last else 'timed out'}")


def has_state(node, state):
    try:
        return node.getState().contains(state)
    except GLib.GError:
        return False


def text_of(node):
    """The node's text, or None when it offers no Text interface."""
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def walk(root):
    """(depth, node) in tree order, bounded against broken or cyclic trees."""
    out = []
    stack = [(0, root)]
    while stack and len(out) < MAX_NODES:
        depth, node = stack.pop()
        out.append((depth, node))
        if depth >= MAX_DEPTH:
            continue
        children = [node.getChildAtIndex(i) for i in range(node.childCount)]
        for child in reversed(children):
            if child is not None:
                stack.append((depth + 1, child))
    return out


def quoted(text):
    if text is None:
        return "(none)"
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


def find_application(program):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == program.pid:
            return app
    return None


def named(nodes, roles, name):
    return [node for _, node in nodes if node.getRole() in roles and node.name == name]


def all_named(app):
    nodes = walk(app)
    return nodes if all(named(nodes, roles, name) for _, roles, name in EXPECTED) else None


def window_of(app):
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        if child is not None and child.name == WINDOW_TITLE:
            return child
    return None


def print_tree(nodes):
    say("accessible tree (role, name, text, description if any; text (none) = no Text interface):")
    for depth, node in nodes:
        description = f" description={quoted(node.description)}" if node.description else ""
        say(f"{'  ' * depth}{node.getRoleName()} name={quoted(node.name)} text={quoted(text_of(node))}{description}")
    if len(nodes) >= MAX_NODES:
        say(f"  ... cut after {MAX_NODES} objects")


def shown_instead(nodes, control, roles):
    """What AT-SPI shows for the control's kind, when its name is missing."""
    shown = [quoted(node.name) for _, node in nodes if node.getRole() in roles]
    return f"; {KIND[roles]}s seen: {', '.join(shown)}" if shown else f"; no {KIND[roles]} seen at all"


def check_names(nodes, problems):
    """Every box, list and button carries its caption as its accessible name."""
    expected_names = {name for _, _, name in EXPECTED}
    for control, roles, name in EXPECTED:
        found = named(nodes, roles, name)
        if len(found) == 1:
            say(f"ok: {control} is named {quoted(name)}")
        elif not found:
            problems.append(f"{control}: no {KIND[roles]} named {quoted(name)}{shown_instead(nodes, control, roles)}")
        else:
            problems.append(f"{control}: {len(found)} controls named {quoted(name)}")
    for _, node in nodes:
        role = node.getRole()
        if role in TEXT_ROLES + LIST_ROLES and node.name not in expected_names:
            problems.append(f"unexpected {node.getRoleName()} named {quoted(node.name)} (text {quoted(text_of(node))})")


def matches(node, roles, name):
    if node.getRole() not in roles:
        return False
    return node.name.startswith(name[:-3]) if name.endswith("...") else node.name == name


def short(name):
    return quoted(name if len(name) <= 50 else name[:47] + "...")


def check_reading_order(window, problems):
    """The window's children come top to bottom, left to right."""
    children = [window.getChildAtIndex(i) for i in range(window.childCount)]
    seen = [f"{child.getRoleName()} {short(child.name)}" for child in children]
    wrong = len(children) != len(READING_ORDER) or not all(
        matches(child, roles, name) for child, (roles, name) in zip(children, READING_ORDER))
    if wrong:
        expected = [f"{KIND[roles]} {short(name)}" for roles, name in READING_ORDER]
        problems.append("the window's children are not in reading order; seen:\n    " + "\n    ".join(seen)
                        + "\n  expected:\n    " + "\n    ".join(expected))
    else:
        say(f"ok: the window's {len(children)} children come in reading order")


def check_descriptions(nodes, problems):
    """Each number box describes the range it accepts."""
    for control, name, description in DESCRIPTIONS:
        found = named(nodes, TEXT_ROLES, name)
        if len(found) != 1:
            continue  # reported by check_names
        if found[0].description == description:
            say(f"ok: {control} is described as {quoted(description)}")
        else:
            problems.append(f"{control}: described as {quoted(found[0].description)}, not {quoted(description)}")


def one(nodes, roles, name):
    found = named(nodes, roles, name)
    if len(found) != 1:
        raise Failed(f"cannot work the example: {len(found)} controls named {quoted(name)}")
    return found[0]


def focused_name(nodes):
    for _, node in nodes:
        if has_state(node, pyatspi.STATE_FOCUSED) and node.getRole() not in (pyatspi.ROLE_FRAME, pyatspi.ROLE_FILLER):
            return f"{node.getRoleName()} {quoted(node.name)}"
    return None


def activate_window(window, nodes, deadline, program):
    # With no window manager nothing gives the window the keyboard; a click on
    # its empty lower-right corner makes the toolkit take it, as a user would.
    def clicked_active():
        extents = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if extents.width <= 0 or extents.height <= 0:
            return False
        x = extents.x + extents.width * 9 // 10
        y = extents.y + extents.height * 9 // 10
        pyatspi.Registry.generateMouseEvent(x, y, pyatspi.MOUSE_B1C)
        try:
            poll("the window to become active", lambda: has_state(window, pyatspi.STATE_ACTIVE), 2, deadline,
                 program)
        except Failed:
            return False
        return True

    poll("the window to take the keyboard after a click", clicked_active, 15, deadline, program, interval=0)
    who = poll("a control with the keyboard focus", lambda: focused_name(nodes), 5, deadline, program)
    say(f"ok: the window is active; the focus is on {who}")


def set_text(box, label, value, deadline, program):
    if not box.queryEditableText().setTextContents(value):
        raise Failed(f"{label}: setTextContents({quoted(value)}) was refused")
    poll(f"{label} to read {quoted(value)}", lambda: text_of(box) == value, 5, deadline, program)
    say(f"ok: {label} set to {quoted(value)} through EditableText")


def press_key(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


def focus(node, label, deadline, program):
    node.queryComponent().grabFocus()
    try:
        poll(f"{label} to take the focus", lambda: has_state(node, pyatspi.STATE_FOCUSED), 3, deadline, program)
        return True
    except Failed:
        return False


def pick_millimetres(nodes, deadline, program):
    combo = one(nodes, LIST_ROLES, COMBO2)
    following = one(nodes, LIST_ROLES, COMBO3)
    if not focus(combo, "Combo2", deadline, program):
        # The list may offer no focus action; Tab from the box before it.
        box = one(nodes, TEXT_ROLES, TEXT1)
        if not focus(box, "Text1", deadline, program):
            raise Failed("neither Combo2 nor Text1 takes the focus through AT-SPI")
        press_key(KEY_TAB)
        poll("Combo2 to take the focus after Tab from Text1", lambda: has_state(combo, pyatspi.STATE_FOCUSED), 5,
             deadline, program)
    say("ok: Combo2 has the focus")
    press_key(KEY_M)
    # The list does not say over AT-SPI when its item changes, so Tab follows
    # the key: once the focus reaches the next list, the 'm' before it has
    # been handled too (the toolkit reads the keyboard in order).
    press_key(KEY_TAB)
    poll("the focus to move on to Combo3 after 'm' and Tab", lambda: has_state(following, pyatspi.STATE_FOCUSED), 5,
         deadline, program)
    current = text_of(combo)
    if current is None:
        say("note: Combo2 offers no Text interface; its selected item is not readable over AT-SPI")
    elif current != "milimetros":
        raise Failed(f"Combo2 reads {quoted(current)} after the key 'm', not \"milimetros\"")
    else:
        say('ok: Combo2 reads "milimetros"')
    say("ok: key 'm' typed into Combo2")


def press(node, label):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for i, name in enumerate(names):
        if name.lower() in ("press", "click"):
            if not action.doAction(i):
                raise Failed(f"{label}: the action {quoted(name)} was refused")
            say(f"ok: {label} pressed through its AT-SPI action {quoted(name)}")
            return
    raise Failed(f"{label} offers no press action (actions: {', '.join(names) or 'none'})")


def other_windows(app):
    names = []
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        if child is not None and child.name != WINDOW_TITLE:
            names.append(f"{child.getRoleName()} {quoted(child.name)}")
    return names


def work_example(app, window, nodes, deadline, program):
    activate_window(window, nodes, deadline, program)
    set_text(one(nodes, TEXT_ROLES, TEXT1), "Text1", "1000", deadline, program)
    set_text(one(nodes, TEXT_ROLES, TEXT2), "Text2", "5", deadline, program)
    percentage = text_of(one(nodes, TEXT_ROLES, TEXT3))
    if percentage != "100":
        raise Failed(f"Text3 reads {quoted(percentage)}, not the default \"100\"")
    say('ok: Text3 keeps its default "100"')
    pick_millimetres(nodes, deadline, program)
    result_box = one(nodes, TEXT_ROLES, TEXT4)
    press(one(nodes, BUTTON_ROLES, "Calcular"), "Calcular")
    try:
        result = poll("the result box to show a value", lambda: text_of(result_box), 10, deadline, program)
    except Failed as failure:
        extra = other_windows(app)
        if extra:
            raise Failed(f"{failure}; the program shows {', '.join(extra)}") from None
        raise
    if result != "24":
        raise Failed(f"the result box reads {quoted(result)}, expected \"24\"")
    say('ok: the result box reads "24"')


def stop(program):
    if program.poll() is None:
        program.terminate()
        try:
            program.wait(5)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait(5)


def main():
    if len(sys.argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    deadline = Deadline(float(sys.argv[2]) if len(sys.argv) == 3 else 90)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(2))
    try:
        start_accessibility_bus(deadline)
        # Wakes the registry before the program arrives.
        pyatspi.Registry.getDesktop(0).childCount
    except (Failed, GLib.GError) as error:
        say(f"FAIL: {error}")
        return 2

    program = subprocess.Popen([sys.argv[1]], stdin=subprocess.DEVNULL)
    problems = []
    try:
        try:
            app = poll("the program to appear on the accessibility bus", lambda: find_application(program), 20,
                       deadline, program)
            window = poll(f"the window {quoted(WINDOW_TITLE)}", lambda: window_of(app), 20, deadline, program)
            try:
                nodes = poll("every control to be named", lambda: all_named(app), 10, deadline, program)
            except Failed:
                nodes = walk(app)
        except (Failed, GLib.GError) as error:
            say(f"FAIL: {error}")
            return 2
        print_tree(nodes)
        if app.name != APPLICATION_NAME:
            problems.append(f"the application is named {quoted(app.name)}, not {quoted(APPLICATION_NAME)}")
        check_names(nodes, problems)
        check_reading_order(window, problems)
        check_descriptions(nodes, problems)
        try:
            work_example(app, window, nodes, deadline, program)
        except (Failed, GLib.GError) as error:
            problems.append(str(error) if isinstance(error, Failed) else f"AT-SPI error: {error.message}")
    finally:
        stop(program)
    for problem in problems:
        say(f"FAIL: {problem}")
    say("accessibility: " + ("PASS" if not problems else f"FAIL ({len(problems)} problem(s))"))
    return 0 if not problems else 1


if __name__ == "__main__":
    sys.exit(main())
