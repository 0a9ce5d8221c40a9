// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

struct CommandLine;

// The window's zoom is Qt's scale factor, which Qt fixes when the application object is
// made; the screen is known only after that. So a start whose zoom does not suit the
// screen starts the program once more with one that does.
namespace ScreenZoom {

struct Choice {
    double zoom = 1;
    // The zoom asked for (or given by QT_SCALE_FACTOR) was too large for the screen.
    bool lowered = false;
};

// `available` is the screen's available area in pixels at zoom 1. Full screen without a zoom
// of its own takes the largest step that fits; any other zoom stays unless it does not fit.
Choice choose(std::optional<double> asked, bool fullScreen, double current, QSizeF available,
              QSize window);

// Before the application object, for a window: where the window would go (the -platform,
// QT_QPA_PLATFORM or the session's default, then the display of each) is tried, so that a
// display that cannot be opened ends the program with one line on standard error and
// status 1 rather than in Qt's abort; a -platform naming no plugin is a bad argument,
// status 2. A Wayland-only session gets Qt's Wayland platform. 0 when all is well.
int prepareDisplay(const CommandLine &line);
// Before the application object: scale factors in the environment that are not a sensible
// positive number are ignored with one line; the zoom asked for becomes Qt's scale factor;
// the launch's notification id is kept for a second start.
void prepareZoom(const CommandLine &line);
// After it: where the zoom does not suit the primary screen, the program starts again in
// its place with one that does, given as --zoom (and says so when the zoom had to be
// lowered, or when it cannot start again).
void fitToScreen(const CommandLine &line, char *const argv[], QSize window);

} // namespace ScreenZoom
