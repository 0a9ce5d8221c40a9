// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screenzoom.h"

#include "export/commandline.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <unistd.h>

namespace ScreenZoom {

namespace {

// Set for the second start only, so that it takes the zoom it is given.
const char *const FittedMarker = "QUORVANE_ZOOM_FITTED";

double currentFactor()
{
    bool ok = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && factor > 0 ? factor : 1.0;
}

QString number(double value)
{
    return QLocale::c().toString(value, 'g', 6);
}

} // namespace

Choice choose(std::optional<double> asked, bool fullScreen, double current, QSizeF available,
              QSize window)
{
    const double across = available.width() / window.width();
    const double down = available.height() / window.height();
    const double fitting = std::clamp(std::floor(std::min(across, down) / CommandLine::ZoomStep) *
                                          CommandLine::ZoomStep,
                                      1.0, CommandLine::LargestZoom);
    if (fullScreen && !asked)
        return {fitting, false};
    const double wanted = asked.value_or(current);
    if (wanted <= fitting || wanted <= 1)
        return {wanted, false};
    return {fitting, true};
}

bool prepareDisplay(int argc, const char *const *argv)
{
    const bool platformGiven = qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
                               std::any_of(argv + 1, argv + argc, [](const char *argument) {
                                   const QByteArrayView a(argument);
                                   return a == "-platform" || a == "--platform" ||
                                          a.startsWith("-platform=") || a.startsWith("--platform=");
                               });
    if (platformGiven)
        return true;
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!x11 && !wayland) {
        std::fprintf(stderr, "quorvane: no display found: neither DISPLAY nor WAYLAND_DISPLAY "
                             "is set (a picture without one: quorvane --render FILE)\n");
        return false;
    }
    // Qt tries X11 first unless the session says it is Wayland's; with no X server that
    // would end in an abort rather than a window.
    if (!x11)
        qputenv("QT_QPA_PLATFORM", "wayland");
    return true;
}

void prepareZoom(const CommandLine &line)
{
    if (qEnvironmentVariableIsSet(FittedMarker))
        return;
    if (line.zoom)
        qputenv("QT_SCALE_FACTOR", number(*line.zoom).toLatin1());
}

void fitToScreen(const CommandLine &line, char *const argv[], QSize window)
{
    if (qEnvironmentVariableIsSet(FittedMarker)) {
        qunsetenv(FittedMarker);
        return;
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The window's zoom is all that scales it: Qt's factor, and whatever the desktop adds (a
    // screen scale factor, as KDE sets, or the platform's own ratio). The zoom asked for or
    // given by QT_SCALE_FACTOR stays a factor on top of the desktop's; what must fit is the
    // whole, in the screen's device pixels.
    const double current = currentFactor();
    const double ratio = screen->devicePixelRatio();
    const double desktop = ratio / current;
    const QSizeF available = QSizeF(screen->availableGeometry().size()) * ratio;
    const std::optional<double> asked =
        line.zoom ? std::optional<double>(*line.zoom * desktop) : std::nullopt;
    const Choice choice = choose(asked, line.fullscreen, ratio, available, window);
    if (std::abs(choice.zoom - ratio) < 1e-9)
        return;
    if (choice.lowered)
        std::fprintf(stderr,
                     "quorvane: zoom %s does not fit the screen's available area of %d x %d "
                     "pixels; zoom %s instead\n",
                     qPrintable(number(asked.value_or(ratio))), qRound(available.width()),
                     qRound(available.height()), qPrintable(number(choice.zoom)));
    qputenv("QT_SCALE_FACTOR", number(choice.zoom / desktop).toLatin1());
    qputenv(FittedMarker, "1");
    ::execv("/proc/self/exe", argv);
    // Without a way to start again the window keeps the zoom it has.
    qunsetenv(FittedMarker);
}

} // namespace ScreenZoom
