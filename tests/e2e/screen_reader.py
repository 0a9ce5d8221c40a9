#!/usr/bin/python3
"""The canvas as a screen reader meets it over AT-SPI: an image named by the prompt, then,
once Start (pressed through AT-SPI) has run, by the description of the curve, announced with
a name-change event; a second run answered Yes shows the same and is announced again.
Runs under Xvfb and a D-Bus session of its own.

Usage: screen_reader.py <quorvane>
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TIMEOUT_S = 90
PROMPT = "Please press button Start"
# The numbers are in the user's locale; the test runs the program in Czech.
DESCRIPTION = ("1 curve. Run 1: relative frequency 0,5, red; the probability swings between "
               "0 and 200 with a period of about 160 rows")

failures = []
announced = []
state = {"step": "find the canvas"}


def fail(message):
    failures.append(message)
    pyatspi.Registry.stop()


def on_name_changed(event):
    try:
        if event.source.getRole() == pyatspi.ROLE_IMAGE:
            announced.append(event.source.name)
    except Exception:  # the source may be gone already
        pass


def find(root, role, name=None):
    return pyatspi.utils.findDescendant(
        root, lambda a: a is not None and a.getRole() == role and (name is None or a.name == name))


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "Quorvane":
            return app
    return None


def poll():
    try:
        app = application()
        if app is None:
            return True
        canvas = find(app, pyatspi.ROLE_IMAGE)
        if state["step"] == "find the canvas" and canvas is not None:
            if canvas.name != PROMPT:
                return fail(f"the canvas is named {canvas.name!r} at first, not {PROMPT!r}")
            start = find(app, pyatspi.ROLE_PUSH_BUTTON, "Start")
            if start is None:
                return fail("no button Start")
            start.queryAction().doAction(0)
            state["step"] = "wait for the run"
        elif state["step"] == "wait for the run" and DESCRIPTION in announced:
            if canvas is None or canvas.name != DESCRIPTION:
                return fail(f"the canvas is named {canvas and canvas.name!r} after the run")
            print("screen reader heard:", DESCRIPTION)
            # Start again from the keyboard: pressing it through AT-SPI would wait for the
            # whole run, question included, before it returned.
            subprocess.run(["xdotool", "search", "--name", "^Quorvane - ", "windowfocus",
                            "key", "space"], check=True, timeout=30)
            state["step"] = "answer the question"
        elif state["step"] == "answer the question":
            yes = find(app, pyatspi.ROLE_PUSH_BUTTON, "Yes")
            if yes is not None:
                if find(app, pyatspi.ROLE_ALERT) is None:
                    return fail("the open question is not in the tree as an alert")
                yes.queryAction().doAction(0)
                state["answered at"] = time.monotonic()
                state["step"] = "wait for the second run"
        elif state["step"] == "wait for the second run" and announced.count(DESCRIPTION) < 2:
            # An answered box leaves the tree at once, not only when the run it opened ends.
            if (find(app, pyatspi.ROLE_ALERT) is not None
                    and time.monotonic() - state["answered at"] > 1.5):
                return fail("the answered question is still in the accessibility tree")
        elif state["step"] == "wait for the second run":
            print("and again after the second run")
            pyatspi.Registry.stop()
            return False
    except Exception as error:  # the tree is built while the program starts up
        state["last error"] = repr(error)
    return True


def give_up():
    fail(f"timed out at step '{state['step']}'; names announced: {announced}; "
         f"last error: {state.get('last error')}")
    return False


def main():
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       LANG="cs_CZ.UTF-8", LC_ALL="cs_CZ.UTF-8")
    program = subprocess.Popen([sys.argv[1], "--frequency", "0,5"], env=environment)
    pyatspi.Registry.registerEventListener(on_name_changed,
                                           "object:property-change:accessible-name")
    GLib.timeout_add(200, poll)
    GLib.timeout_add_seconds(TIMEOUT_S, give_up)
    pyatspi.Registry.start()
    program.terminate()
    program.wait(10)
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
