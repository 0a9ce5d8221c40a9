// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screenzoom.h"

#include "about.h"
#include "export/commandline.h"
#include "export/errorline.h"
#include "export/picturefiles.h"
#include "settings/zoomrange.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QLocale>
#include <QPluginLoader>
#include <QRect>
#include <QScreen>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace ScreenZoom {

namespace {

// The scale factors Qt is given from outside that the window can be shown at.
constexpr double LeastFactor = 0.5;
constexpr double GreatestFactor = 16;

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

bool sensibleFactor(const QString &text)
{
    bool ok = false;
    const double factor = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(factor) && factor >= LeastFactor && factor <= GreatestFactor;
}

// The names of the platform plugins Qt can find, from their metadata (nothing is loaded);
// empty when none can be read.
QStringList platformPlugins(const QString &givenPath)
{
    QStringList folders{givenPath, qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH")};
    for (const QString &path : qEnvironmentVariable("QT_PLUGIN_PATH").split(u':'))
        folders << path + QStringLiteral("/platforms");
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    QStringList keys;
    for (const QString &folder : folders) {
        if (folder.isEmpty() || folder.startsWith(u'/') == false)
            continue;
        for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files)) {
            const QJsonObject meta = QPluginLoader(file.absoluteFilePath())
                                         .metaData()
                                         .value(QStringLiteral("MetaData"))
                                         .toObject();
            for (const QJsonValue key : meta.value(QStringLiteral("Keys")).toArray())
                keys << key.toString().toLower();
        }
    }
    keys.removeDuplicates();
    keys.sort();
    return keys;
}

// Whether the X server of the display name answers.
bool x11Answers(const QByteArray &display)
{
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    const bool answers = connection && !xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    return answers;
}

// Whether a Wayland compositor listens on the socket the variables name, as the Wayland
// client library finds it.
bool waylandAnswers(const QByteArray &socketName)
{
    if (qEnvironmentVariableIsSet("WAYLAND_SOCKET"))
        return true;
    QByteArray path = socketName;
    if (!path.startsWith('/')) {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return false;
        path = runtime + '/' + path;
    }
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (std::size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answers =
        ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

// The primary screen's available area in device pixels. Qt gives it in its own units, each
// side rounded, which times the zoom can miss the screen by a pixel or two; on X11 with one
// screen the server tells it exactly, as Qt itself reads it: the root window within the
// work area the window manager sets.
QSize availableDevicePixels(const QScreen &screen, double factor)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // Other platforms may answer for X11 too (offscreen does), without a connection.
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || QGuiApplication::platformName() != u"xcb" ||
        QGuiApplication::screens().size() != 1)
        return (QSizeF(screen.availableGeometry().size()) * factor).toSize();
    const xcb_screen_t *root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    QRect area(0, 0, root->width_in_pixels, root->height_in_pixels);
    static const char name[] = "_NET_WORKAREA";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, true, sizeof name - 1, name), nullptr);
    if (atom && atom->atom != XCB_ATOM_NONE) {
        xcb_get_property_reply_t *work = xcb_get_property_reply(
            connection,
            xcb_get_property(connection, false, root->root, atom->atom, XCB_ATOM_CARDINAL, 0, 4),
            nullptr);
        if (work && work->format == 32 && xcb_get_property_value_length(work) == 16) {
            const auto *values = static_cast<const quint32 *>(xcb_get_property_value(work));
            const QRect workArea{int(values[0]), int(values[1]), int(values[2]), int(values[3])};
            if (workArea.isValid())
                area &= workArea;
        }
        std::free(work);
    }
    std::free(atom);
    return area.size();
}

// What each screen had from Qt before the program set a zoom of its own: its device pixel
// ratio and Qt's factor for it, QT_SCALE_FACTOR's times the screen's share.
struct AtStart {
    double ratio = 1;
    double qtFactor = 1;
};

double startFactor()
{
    static const double factor = currentFactor();
    return factor;
}

AtStart startOf(const QScreen &screen)
{
    static const QHash<const QScreen *, AtStart> screens = [] {
        QHash<const QScreen *, AtStart> found;
        for (const QScreen *each : QGuiApplication::screens())
            found.insert(each, {each->devicePixelRatio(), QHighDpiScaling::factor(each)});
        return found;
    }();
    // A screen that came later is taken as it is.
    return screens.value(&screen, {screen.devicePixelRatio(), QHighDpiScaling::factor(&screen)});
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

int prepareDisplay(const CommandLine &line)
{
    QString platforms = line.platform;
    if (platforms.isEmpty())
        platforms = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platforms.isEmpty()) {
        const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY") || !line.display.isEmpty();
        const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
        if (!x11 && !wayland) {
            ErrorLine::print(QStringLiteral("no display found: neither DISPLAY nor "
                                            "WAYLAND_DISPLAY is set (a picture without one: %1 "
                                            "--render FILE)")
                                 .arg(QString::fromUtf8(About::Command)));
            return 1;
        }
        // Qt tries X11 first unless the session says it is Wayland's; with no X server that
        // would end in an abort rather than a window.
        if (!x11)
            qputenv("QT_QPA_PLATFORM", "wayland");
        const bool waylandSession = qgetenv("XDG_SESSION_TYPE") == "wayland" &&
                                    !qgetenv("XDG_CURRENT_DESKTOP").toLower().contains("gnome") &&
                                    !qgetenv("XDG_SESSION_DESKTOP").toLower().contains("gnome");
        platforms = !x11             ? QStringLiteral("wayland")
                    : waylandSession ? QStringLiteral("wayland;xcb")
                                     : QStringLiteral("xcb");
    }

    // Qt tries each of a list in turn, each name perhaps with options after a colon.
    QStringList names;
    for (const QString &entry : platforms.split(u';', Qt::SkipEmptyParts))
        names << entry.section(u':', 0, 0).toLower();
    const QStringList plugins = platformPlugins(line.platformPluginPath);
    const auto known = [&plugins](const QString &name) {
        return plugins.isEmpty() || plugins.contains(name);
    };
    if (!line.platform.isEmpty() && std::none_of(names.cbegin(), names.cend(), known)) {
        ErrorLine::print(
            QStringLiteral("-platform %1: allowed are %2")
                .arg(PictureFiles::printable(line.platform), plugins.join(QStringLiteral(", "))));
        return 2;
    }
    QStringList unreachable;
    for (const QString &name : names) {
        if (!known(name)) {
            unreachable << QStringLiteral("(no platform plugin '%1')").arg(name);
        } else if (name == u"xcb") {
            const QByteArray display =
                line.display.isEmpty() ? qgetenv("DISPLAY") : line.display.toLocal8Bit();
            if (display.isEmpty())
                unreachable << QStringLiteral("(DISPLAY is not set)");
            else if (!x11Answers(display))
                unreachable << QString::fromLocal8Bit(display);
            else
                return 0;
        } else if (name.startsWith(u"wayland")) {
            QByteArray socket = qgetenv("WAYLAND_DISPLAY");
            if (socket.isEmpty())
                socket = "wayland-0";
            if (!waylandAnswers(socket))
                unreachable << QString::fromLocal8Bit(socket);
            else
                return 0;
        } else {
            // offscreen, vnc and the like need no display to be there.
            return 0;
        }
    }
    ErrorLine::print(QStringLiteral("cannot open display %1")
                         .arg(PictureFiles::printable(unreachable.join(QStringLiteral(" or ")))));
    return 1;
}

void prepareZoom(const CommandLine &line)
{
    // A factor of 0, below zero, not a number or out of all measure leaves no window to use;
    // an empty one Qt takes as none.
    const QString factor = qEnvironmentVariable("QT_SCALE_FACTOR");
    if (!factor.isEmpty() && !sensibleFactor(factor)) {
        ErrorLine::print(
            QStringLiteral("QT_SCALE_FACTOR=%1 ignored: allowed are numbers from %2 to %3")
                .arg(PictureFiles::printable(factor), number(LeastFactor), number(GreatestFactor)));
        qunsetenv("QT_SCALE_FACTOR");
    }
    // Each entry a factor, or a screen's name, = and its factor.
    const QString screens = qEnvironmentVariable("QT_SCREEN_SCALE_FACTORS");
    for (const QString &entry : screens.split(u';', Qt::SkipEmptyParts)) {
        if (!sensibleFactor(entry.section(u'=', -1))) {
            ErrorLine::print(
                QStringLiteral("QT_SCREEN_SCALE_FACTORS=%1 ignored: allowed are numbers from %2 "
                               "to %3")
                    .arg(PictureFiles::printable(screens), number(LeastFactor),
                         number(GreatestFactor)));
            qunsetenv("QT_SCREEN_SCALE_FACTORS");
            break;
        }
    }
    if (line.zoom)
        qputenv("QT_SCALE_FACTOR", number(*line.zoom).toLatin1());
}

QSize availableDevicePixels(const QScreen &screen)
{
    return availableDevicePixels(screen, screen.devicePixelRatio());
}

double desktopScale(const QScreen &screen)
{
    return startOf(screen).ratio / startFactor();
}

void setFactor(double factor)
{
    // Each screen keeps its own share: what the desktop and the platform give it, over which
    // Qt's factor from QT_SCALE_FACTOR stands unchanged.
    const double global = startFactor();
    for (QScreen *screen : QGuiApplication::screens())
        QHighDpiScaling::setScreenFactor(screen,
                                         factor * startOf(*screen).qtFactor / global / global);
}

void fitToScreen(const CommandLine &line, QSize window)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The window's zoom is all that scales it: Qt's factor and whatever the desktop adds (a
    // screen scale factor, as KDE sets, or the platform's own ratio). The zoom asked for or
    // given by QT_SCALE_FACTOR stays a factor on top of the desktop's; what must fit is the
    // whole, in the screen's device pixels, and the zoom named in the line is the whole.
    const double ratio = screen->devicePixelRatio();
    const double desktop = desktopScale(*screen);
    const std::optional<double> asked =
        line.zoom ? std::optional<double>(*line.zoom * desktop) : std::nullopt;
    const QSizeF available(availableDevicePixels(*screen, ratio));
    // Full screen takes its own zoom when it is shown; the window's zoom is the one it comes
    // back to.
    const Choice choice = choose(asked, false, ratio, available, window);
    if (choice.lowered && (asked || !line.fullscreen))
        ErrorLine::print(QStringLiteral("zoom %1 does not fit the screen's available area of "
                                        "%2 x %3 pixels; zoom %4 instead")
                             .arg(number(asked.value_or(ratio)))
                             .arg(qRound(available.width()))
                             .arg(qRound(available.height()))
                             .arg(number(choice.zoom)));
    if (std::abs(choice.zoom - ratio) > 1e-9)
        setFactor(choice.zoom / desktop);
}

} // namespace ScreenZoom
