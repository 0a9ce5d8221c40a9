#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
"""On a Wayland-only session the program starts natively: started with --start it makes a
whole run. Start, pressed through its accessible action, asks "Delete probability" inside the
window, centred on it, with no window of its own; No, pressed the same way, answers it and a
second curve is drawn. Then Exit ends the program with status 0 and nothing on standard error.
Runs under run-under-weston.sh and a D-Bus session of its own.

Usage: wayland_start.py <quorvane>
"""
import os
import subprocess
import sys
import time

import pyatspi

from atspi_window import application, find

TIMEOUT_S = 120


def placement_of(app, question):
    """What is wrong with where the question is, or None: it must lie inside the program's
    only window, its frame centred on it."""
    windows = [child for child in app if child is not None]
    if len(windows) != 1 or windows[0].getRole() != pyatspi.ROLE_FRAME:
        return f"came with {len(windows)} windows: {[w.getRoleName() for w in windows]}"
    box = question.parent
    if box is None or box.getRole() != pyatspi.ROLE_FRAME or box.name != "Quorvane":
        return "has no frame named Quorvane around it"
    outer = windows[0].queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    inner = box.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    off = (2 * inner.x + inner.width - 2 * outer.x - outer.width,
           2 * inner.y + inner.height - 2 * outer.y - outer.height)
    if max(abs(off[0]), abs(off[1])) > 1:
        return (f"is not centred: its frame {(inner.x, inner.y, inner.width, inner.height)} "
                f"in the window {(outer.x, outer.y, outer.width, outer.height)}")
    return None


def main():
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    program = subprocess.Popen([sys.argv[1], "--start"], env=environment,
                               stderr=subprocess.PIPE, text=True)
    deadline = time.monotonic() + TIMEOUT_S
    step, last_error, placement = "wait for the first run's end", None, None
    while time.monotonic() < deadline and program.poll() is None:
        try:
            app = application()
            canvas = app and find(app, pyatspi.ROLE_IMAGE)
            # The canvas is described by what it shows once a run has ended.
            described = canvas.description if canvas is not None else ""
            if step == "wait for the first run's end" and described.startswith("1 curve."):
                step = "wait for the question"
                find(app, pyatspi.ROLE_PUSH_BUTTON, "Start").queryAction().doAction(0)
            elif step == "wait for the question":
                question = find(app, pyatspi.ROLE_ALERT, "Delete probability")
                if question is not None:
                    placement = placement_of(app, question)
                    step = "wait for the second run's end"
                    find(question, pyatspi.ROLE_PUSH_BUTTON, "No").queryAction().doAction(0)
            elif step == "wait for the second run's end" and described.startswith("2 curves"):
                step = "press Exit"
                find(app, pyatspi.ROLE_PUSH_BUTTON, "Exit").queryAction().doAction(0)
                break
        except Exception as error:  # the tree is built while the program starts up
            last_error = repr(error)
        time.sleep(0.2)
    try:
        status = program.wait(max(1, deadline - time.monotonic()))
    except subprocess.TimeoutExpired:
        program.kill()
        print(f"FAIL: timed out at step '{step}'; last error: {last_error}", file=sys.stderr)
        return 1
    errors = program.stderr.read()
    if step != "press Exit" or status != 0 or errors:
        print(f"FAIL: at step '{step}' the program ended with status {status}; "
              f"its standard error: {errors!r}", file=sys.stderr)
        return 1
    if placement:
        print(f"FAIL: the question {placement}", file=sys.stderr)
        return 1
    print("two runs on Wayland, the question centred inside the window and answered No, "
          "then Exit: status 0, nothing on standard error")
    return 0


if __name__ == "__main__":
    sys.exit(main())
