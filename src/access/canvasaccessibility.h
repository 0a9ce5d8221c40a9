// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QString;
class QWidget;

// The canvas as a screen reader meets it: an image (role graphic) whose description says
// what it shows, and the news of each run's start and end spoken as it happens.
namespace CanvasAccessibility {

// Installs the accessibility factories (once, whatever the number of calls; other
// factories stay), names the canvas and gives it its first description.
void setUp(QWidget &canvas, const QString &description);

// Tells what the canvas shows now, to a reader who goes to look.
void describe(QWidget &canvas, const QString &description);

// While the curves are explored: the row's numbers are the canvas's value and lead its
// description, which goes on telling every curve. An empty position ends it.
void explore(QWidget &canvas, const QString &position, const QString &description);

// Speaks the text at once, without moving the keyboard focus: a notification of the window
// appears with it, and screen readers speak a notification when it appears.
void announce(QWidget &window, const QString &text);

} // namespace CanvasAccessibility
