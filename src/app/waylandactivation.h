// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// A start from a desktop's menu on Wayland is given XDG_ACTIVATION_TOKEN, which Qt 6.4 does
// not read: without it the compositor may leave the new window behind the others, or keep
// the launch's busy feedback until its timeout.
namespace WaylandActivation {

// Once the window is first on the screen, hands the token to the compositor for it
// (xdg_activation_v1.activate) and takes the variable out of the environment, so that no
// program started from here offers it again. Nothing happens on any other platform, without
// the variable, or where the compositor offers no activation; nothing is said either way.
void activateWhenShown(QWidget *window);

} // namespace WaylandActivation
