"""The game on the accessibility bus, as a screen reader meets it: the board's buttons can be
found by name and pressed, its rows give each unit's name and hit points, the story text is
there to be read, and each step of the story announces its new text."""
import sys
import time

import pyatspi
from gi.repository import GLib

problems = []


def fail(what):
    print("check_a11y: " + what, file=sys.stderr)
    sys.exit(1)


def app_named(name, seconds=20):
    for _ in range(seconds * 5):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    fail("the game never came onto the accessibility bus")


def walk(node):
    yield node
    try:
        for child in node:
            if child is not None:
                yield from walk(child)
    except Exception:
        return


def find(app, role, name=None, seconds=10):
    """The first node of a role (and name) that shows, waiting for it to come."""
    for _ in range(seconds * 10):
        for node in walk(app):
            try:
                if node.getRoleName() == role and (name is None or node.name == name) and \
                        node.getState().contains(pyatspi.STATE_VISIBLE):
                    return node
            except Exception:
                continue
        time.sleep(0.1)
    fail(f"no {role} {name or ''} on the bus")


def press(app, name):
    button = find(app, "push button", name)
    action = button.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() in ("press", "click"):
            action.doAction(i)
            time.sleep(0.4)
            return
    fail(f"the button {name} cannot be pressed from the bus")


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except Exception:
        return ""


app = app_named("vernadora")
# From the start screen to the story, with the buttons a reader presses.
press(app, "スタート")
press(app, "決定")  # the name dialog
rows = [n.name for n in walk(app) if n.getRoleName() == "list item"]
if not any("／" in name and "空き" not in name for name in rows):
    fail(f"the board's rows do not give names and hit points: {rows}")
for name in ("はい", "＞", "先に進む", "はい"):
    press(app, name)
story = None
for node in walk(app):
    if node.getRoleName() == "label" and node.parent is not None and node.parent.name == "物語":
        story = node  # the story text: the panel's first label
        break
if story is None:
    fail("no story text on the bus")
first = text_of(story)
if not first.strip():
    press(app, "≫")
    first = text_of(story)
if not first.strip():
    fail("the story text is empty on the bus")

# Each step announces its new text.
heard = []


def listen(event):
    if isinstance(event.any_data, str) and event.any_data.strip():
        heard.append(event.any_data)


pyatspi.Registry.registerEventListener(listen, "object:text-changed:insert")


def step():
    press(app, "≫")
    return False


GLib.timeout_add(300, step)
GLib.timeout_add(2500, lambda: pyatspi.Registry.stop() or False)
pyatspi.Registry.start()
now = text_of(story)
if now == first:
    fail("≫ pressed on the bus did not read the story on")
if now not in heard:
    fail(f"the new text was not announced: heard {heard!r}, the text is {now!r}")
print("check_a11y: buttons pressed from the bus, rows with hit points, the story text announced")
