#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
"""Started from a menu on Wayland, the window is activated with the launch's token:
xdg_activation_v1.activate goes out with the token and the surface of its toplevel, as the
client's side of the protocol shows it (WAYLAND_DEBUG=client). Qt's Wayland shell does it as
the window is first shown; a plain start and the menu's "Presentation (full screen)" both rely
on it. Runs under run-under-sway.sh.

Usage: wayland_activation.py <quorvane>
"""
import os
import queue
import re
import subprocess
import sys
import threading
import time

TIMEOUT_S = 60
TOKEN = "quorvane-launch-token"
STARTS = [[], ["--fullscreen"]]


def pump(stream, lines):
    """Every line of the stream into the queue, then None at its end."""
    for line in stream:
        lines.put(line)
    lines.put(None)


def activation(program, arguments):
    """Starts the program and returns (token, surface) of its first activate request, the
    toplevel's surface and the protocol seen."""
    environment = dict(os.environ, XDG_ACTIVATION_TOKEN=TOKEN, WAYLAND_DEBUG="client")
    process = subprocess.Popen([program] + arguments, env=environment,
                               stderr=subprocess.PIPE, text=True)
    lines = queue.Queue()
    threading.Thread(target=pump, args=(process.stderr, lines), daemon=True).start()
    toplevel, found, seen = None, None, []
    deadline = time.monotonic() + TIMEOUT_S
    while found is None and time.monotonic() < deadline:
        try:
            line = lines.get(timeout=max(0.1, deadline - time.monotonic()))
        except queue.Empty:
            break
        if line is None:
            break
        seen.append(line)
        if match := re.search(r"get_xdg_surface\(new id xdg_surface@\d+, (wl_surface@\d+)\)", line):
            toplevel = toplevel or match.group(1)
        elif match := re.search(r'xdg_activation_v1@\d+\.activate\("(.*)", (wl_surface@\d+)\)',
                                line):
            found = (match.group(1), match.group(2))
    process.terminate()
    try:
        process.wait(30)
    except subprocess.TimeoutExpired:
        process.kill()
    return found, toplevel, seen


def main():
    failures = 0
    for arguments in STARTS:
        name = " ".join(["quorvane"] + arguments)
        found, toplevel, seen = activation(sys.argv[1], arguments)
        if toplevel is None or found != (TOKEN, toplevel):
            tail = "".join(seen[-15:])
            print(f"FAIL: {name}: expected activate(\"{TOKEN}\", {toplevel}); got (token, "
                  f"surface) = {found}; the last of the protocol:\n{tail}", file=sys.stderr)
            failures += 1
        else:
            print(f"{name}: its window's surface was activated with the launch's token")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
