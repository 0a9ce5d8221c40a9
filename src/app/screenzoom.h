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
// screen starts the program once more in its place with the zoom that suits it, where the
// system lets it; otherwise the window keeps the zoom it has.
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

// Before the application object: no display at all ends the program with one line on
// standard error (false); a Wayland-only session gets Qt's Wayland platform.
bool prepareDisplay(int argc, const char *const *argv);
// Before the application object: the zoom asked for becomes Qt's scale factor.
void prepareZoom(const CommandLine &line);
// After it: where the zoom does not suit the primary screen, the program starts again in
// its place with one that does (and says so when the zoom had to be lowered).
void fitToScreen(const CommandLine &line, char *const argv[], QSize window);

} // namespace ScreenZoom
