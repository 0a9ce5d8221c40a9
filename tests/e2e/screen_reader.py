#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
"""The window as a screen reader meets it over AT-SPI: the canvas, an image whose description
says what it shows; a notification that speaks the start and the end of each run without
moving the focus; two runs, the second kept with No, whose description names both curves;
the scroll bar's value-changed event; exploring the curves with E and Page Down, the canvas
focused and its description led by the row's numbers; each option labelled by nothing but its
own name; and not a word from the hidden state fields, nor a warning about them.
Runs under Xvfb and a D-Bus session of its own.

Usage: screen_reader.py <quorvane>
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

from atspi_window import application, find

TIMEOUT_S = 120
EMPTY = "The canvas is empty: press Start"
# The numbers are in the user's locale; the test runs the program in Czech.
CURVE = ("relative frequency 0,5, relative length 1, red; the probability swings between "
         "0 and 200 with a period of about 160 rows.")
ONE_CURVE = "1 curve. Run 1: " + CURVE
TWO_CURVES = "2 curves, oldest first. Run 1: " + CURVE + " Run 2: " + CURVE
SPOKEN = ["Run 1 started", ONE_CURVE, "Run 2 started", TWO_CURVES]
# Four times Page Down from the first row: both curves at thickness 40.
ROW_40 = "thickness 40: run 1 100,0 · run 2 100,0"

failures = []
spoken = []
texts_changed = []
values_changed = []
state = {"step": "find the canvas"}


def fail(message):
    failures.append(message)
    pyatspi.Registry.stop()


def on_showing(event):
    try:
        if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            spoken.append(event.source.name)
    except Exception:  # the source may be gone already
        pass


def on_text_changed(event):
    texts_changed.append(f"{event.type} {event.any_data!r}")


def on_value_changed(event):
    try:
        if event.source.getRole() == pyatspi.ROLE_SCROLL_BAR:
            values_changed.append(event.source.queryValue().currentValue)
    except Exception:
        pass


def poll():
    try:
        app = application()
        if app is None:
            return True
        canvas = find(app, pyatspi.ROLE_IMAGE)
        step = state["step"]
        if step == "find the canvas" and canvas is not None:
            if not canvas.description.startswith(EMPTY):
                return fail(f"before the first run the canvas says {canvas.description!r}")
            start = find(app, pyatspi.ROLE_PUSH_BUTTON, "Start")
            if start is None:
                return fail("no button Start")
            start.queryAction().doAction(0)
            state["step"] = "wait for the run"
        elif step == "wait for the run" and ONE_CURVE in spoken:
            if canvas is None or canvas.description != ONE_CURVE:
                return fail(f"the canvas says {canvas and canvas.description!r} after the run")
            # Start again from the keyboard: pressing it through AT-SPI would wait for the
            # whole run, question included, before it returned.
            subprocess.run(["xdotool", "search", "--name", "^Quorvane - ", "windowfocus",
                            "key", "space"], check=True, timeout=30)
            state["step"] = "answer the question"
        elif step == "answer the question":
            no = find(app, pyatspi.ROLE_PUSH_BUTTON, "No")
            if no is not None:
                if find(app, pyatspi.ROLE_ALERT) is None:
                    return fail("the open question is not in the tree as an alert")
                no.queryAction().doAction(0)
                state["answered at"] = time.monotonic()
                state["step"] = "wait for the second run"
        elif step == "wait for the second run" and TWO_CURVES not in spoken:
            # An answered box leaves the tree at once, not only when the run it opened ends.
            if (find(app, pyatspi.ROLE_ALERT) is not None
                    and time.monotonic() - state["answered at"] > 1.5):
                return fail("the answered question is still in the accessibility tree")
        elif step == "wait for the second run":
            if spoken != SPOKEN:
                return fail(f"a screen reader heard {spoken}, not {SPOKEN}")
            if canvas.description != TWO_CURVES:
                return fail(f"after two runs the canvas says {canvas.description!r}")
            for text in spoken:
                print("screen reader heard:", text)
            find(app, pyatspi.ROLE_SCROLL_BAR).queryValue().currentValue = 5
            state["step"] = "wait for the value"
        elif step == "wait for the value" and 5 in values_changed:
            if texts_changed:
                return fail(f"text changed where nothing shown changed: {texts_changed}")
            # A group is spoken by its own name; its options are not labelled by it again.
            option = find(app, pyatspi.ROLE_RADIO_BUTTON)
            for relation in option.getRelationSet():
                if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                    return fail(f"the option {option.name!r} is labelled by "
                                f"{relation.getTarget(0).name!r}")
            subprocess.run(["xdotool", "search", "--name", "^Quorvane - ", "windowfocus",
                            "key", "e", "Next", "Next", "Next", "Next"], check=True, timeout=30)
            state["step"] = "wait for the row"
        elif step == "wait for the row" and canvas.description.startswith(ROW_40):
            if not canvas.getState().contains(pyatspi.STATE_FOCUSED):
                return fail("the canvas is explored without the focus")
            if not canvas.description.endswith(TWO_CURVES):
                return fail(f"exploring, the canvas says {canvas.description!r}")
            print("screen reader heard:", canvas.description)
            pyatspi.Registry.stop()
            return False
    except Exception as error:  # the tree is built while the program starts up
        state["last error"] = repr(error)
    return True


def give_up():
    fail(f"timed out at step '{state['step']}'; heard: {spoken}; values: {values_changed}; "
         f"last error: {state.get('last error')}")
    return False


def main():
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       LANG="cs_CZ.UTF-8", LC_ALL="cs_CZ.UTF-8")
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    # As a screen reader does, so that the names and descriptions it reads are current.
    pyatspi.Registry.registerEventListener(lambda event: None, "object:property-change")
    pyatspi.Registry.registerEventListener(on_text_changed, "object:text-changed")
    pyatspi.Registry.registerEventListener(on_value_changed,
                                           "object:property-change:accessible-value")
    program = subprocess.Popen([sys.argv[1], "--frequency", "0,5"], env=environment,
                               stderr=subprocess.PIPE, text=True)
    GLib.timeout_add(200, poll)
    GLib.timeout_add_seconds(TIMEOUT_S, give_up)
    pyatspi.Registry.start()
    program.terminate()
    errors = program.communicate(timeout=10)[1]
    sys.stderr.write(errors)
    if "qt.accessibility" in errors:
        fail("the program warned of its accessibility on standard error")
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
