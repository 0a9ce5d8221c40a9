#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
"""On a Wayland-only session the program starts natively: started with --start it makes a
whole run, then Exit, pressed through its accessible action, ends it with status 0 and
nothing on standard error. Runs under run-under-weston.sh and a D-Bus session of its own.

Usage: wayland_start.py <quorvane>
"""
import os
import subprocess
import sys
import time

import pyatspi

from atspi_window import application, find

TIMEOUT_S = 120


def main():
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    program = subprocess.Popen([sys.argv[1], "--start"], env=environment,
                               stderr=subprocess.PIPE, text=True)
    deadline = time.monotonic() + TIMEOUT_S
    step, last_error = "wait for the run's end", None
    while time.monotonic() < deadline and program.poll() is None:
        try:
            app = application()
            canvas = app and find(app, pyatspi.ROLE_IMAGE)
            # The canvas is described by what it shows once a run has ended.
            if canvas is not None and canvas.description.startswith("1 curve."):
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
    print("a whole run on Wayland, then Exit: status 0, nothing on standard error")
    return 0


if __name__ == "__main__":
    sys.exit(main())
