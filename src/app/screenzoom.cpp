// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screenzoom.h"

#include "about.h"
#include "export/commandline.h"
#include "export/errorline.h"
#include "settings/zoomrange.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>

#include <algorithm>
#include <cmath>

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
    const double fitting =
        std::clamp(std::floor(std::min(across, down) / ZoomRange::Step) * ZoomRange::Step,
                   ZoomRange::Smallest, ZoomRange::Largest);
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
        ErrorLine::print(QStringLiteral("no display found: neither DISPLAY nor WAYLAND_DISPLAY is "
                                        "set (a picture without one: %1 --render FILE)")
                             .arg(QString::fromUtf8(About::Command)));
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
    const double current = currentFactor();
    const QSizeF available = QSizeF(screen->availableGeometry().size()) * current;
    const Choice choice = choose(line.zoom, line.fullscreen, current, available, window);
    if (std::abs(choice.zoom - current) < 1e-9)
        return;
    if (choice.lowered)
        ErrorLine::print(QStringLiteral("zoom %1 does not fit the screen's available area of %2 x "
                                        "%3 pixels; zoom %4 instead")
                             .arg(number(line.zoom.value_or(current)))
                             .arg(qRound(available.width()))
                             .arg(qRound(available.height()))
                             .arg(number(choice.zoom)));
    qputenv("QT_SCALE_FACTOR", number(choice.zoom).toLatin1());
    qputenv(FittedMarker, "1");
    ::execv("/proc/self/exe", argv);
    // Without a way to start again the window keeps the zoom it has.
    qunsetenv(FittedMarker);
}

} // namespace ScreenZoom
