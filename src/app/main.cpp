// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "about.h"
#include "classicstyle.h"
#include "commandlineactions.h"
#include "export/commandline.h"
#include "export/errorline.h"
#include "export/picturefiles.h"
#include "fonts.h"
#include "mainwindow.h"
#include "screen/screenupdates.h"
#include "screenzoom.h"

#include <QApplication>

#include <cstdio>
#include <vector>

namespace {

// One line on standard error, control characters shown escaped.
void sayLine(const QString &line)
{
    std::fprintf(stderr, "%s\n", qPrintable(PictureFiles::printable(line)));
}

} // namespace

int main(int argc, char *argv[])
{
    PictureFiles::noteGivenDescriptors();
    preferSmallScreenUpdates();
    // Everything is read before any display is looked at: Qt's own options are taken off
    // here as Qt will take them.
    const CommandLine line = CommandLine::parse(argc, argv, CommandLine::Stage::BeforeToolkit);
    if (!line.error.isEmpty()) {
        sayLine(line.error);
        return 2;
    }
    if (line.action == CommandLine::Action::Help || line.action == CommandLine::Action::Version) {
        const QString text = line.action == CommandLine::Action::Help ? CommandLine::helpText()
                                                                      : CommandLine::versionText();
        QString error;
        if (!PictureFiles::writeFiles({{PictureFiles::StandardOutput, text.toLocal8Bit(), {}}},
                                      &error)) {
            sayLine(ErrorLine::text(error));
            return 1;
        }
        return 0;
    }
    const bool headless = line.action == CommandLine::Action::Render;
    if (headless) {
        // No X server needed, and the picture's pixel ratio is the one asked for, whatever
        // the environment says.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_SCALE_FACTOR", QByteArray::number(line.scale));
        qunsetenv("QT_SCREEN_SCALE_FACTORS");
        qunsetenv("QT_FONT_DPI");
    } else {
        if (const int status = ScreenZoom::prepareDisplay(line))
            return status;
        ScreenZoom::prepareZoom(line);
    }

    // Qt takes its own options off a copy of the line. A render adds -platform offscreen
    // last, so that whatever the line says, no window can come of it.
    static char platform[] = "-platform", offscreen[] = "offscreen";
    std::vector<char *> qtArgv(argv, argv + argc);
    if (headless)
        qtArgv.insert(qtArgv.end(), {platform, offscreen});
    qtArgv.push_back(nullptr);
    int qtArgc = int(qtArgv.size()) - 1;
    QApplication app(qtArgc, qtArgv.data());
    QApplication::setApplicationName(QString::fromUtf8(About::Name));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(About::AppId));
    QApplication::setStyle(new ClassicStyle);
    Fonts::installSubstitutions();

    if (headless)
        return renderHeadless(line);

    ScreenZoom::fitToScreen(line, MainWindow::ClientSize);
    MainWindow window;
    applyPresets(window, line);
    if (line.sound)
        window.setSoundOn(true);
    if (line.fullscreen)
        window.showFullScreenCentred(!line.zoom);
    else
        window.show();
    if (line.start)
        QMetaObject::invokeMethod(&window, &MainWindow::pressStart, Qt::QueuedConnection);
    return QApplication::exec();
}
