# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
"""Finding the program and its controls in the AT-SPI tree, as a screen reader does."""
import pyatspi


def find(root, role, name=None):
    return pyatspi.utils.findDescendant(
        root, lambda a: a is not None and a.getRole() == role and (name is None or a.name == name))


def application(name="Quorvane"):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == name:
            return app
    return None
