// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

struct CommandLine;

class QScreen;

// The window's zoom is Qt's scale factor. Qt takes it from QT_SCALE_FACTOR when it starts;
// from then on the program sets it for every screen at once, on top of each screen's own
// scale (the desktop's and the platform's), so that it follows the window from screen to
// screen and can change while the program runs.
namespace ScreenZoom {

struct Choice {
    double zoom = 1;
    // The zoom asked for (or given by QT_SCALE_FACTOR) was too large for the screen.
    bool lowered = false;
};

// `available` is the screen's available area in pixels at zoom 1. Full screen without a zoom
// of its own takes the largest step that fits; any other zoom stays unless it does not fit,
// and is then lowered to the largest step that fits, but never below 1.
Choice choose(std::optional<double> asked, bool fullScreen, double current, QSizeF available,
              QSize window);

// Before the application object, for a window: where the window would go (the -platform,
// QT_QPA_PLATFORM or the session's default, then the display of each) is tried, so that a
// display that cannot be opened ends the program with one line on standard error and
// status 1 rather than in Qt's abort; a -platform naming no plugin is a bad argument,
// status 2. A Wayland-only session gets Qt's Wayland platform. 0 when all is well.
int prepareDisplay(const CommandLine &line);
// Before the application object: scale factors in the environment that are not a sensible
// positive number are ignored with one line; the zoom asked for becomes Qt's scale factor.
void prepareZoom(const CommandLine &line);
// After it, before any window: a zoom too large for the primary screen is lowered to the
// largest step that fits, with one line that says so.
void fitToScreen(const CommandLine &line, QSize window);

// A screen's available area in its device pixels at the zoom it has now.
QSize availableDevicePixels(const QScreen &screen);
// The scale the screen had from the desktop and the platform, without Qt's factor: the
// window's whole zoom there is this times the factor.
double desktopScale(const QScreen &screen);
// The window's zoom on top of each screen's own scale, on every screen. Windows shown keep
// their size in device pixels until they are given their geometry again.
void setFactor(double factor);

} // namespace ScreenZoom
