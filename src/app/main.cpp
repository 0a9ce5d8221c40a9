// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "about.h"
#include "classicstyle.h"
#include "commandlineactions.h"
#include "export/commandline.h"
#include "fonts.h"
#include "mainwindow.h"
#include "screen/screenupdates.h"
#include "screenzoom.h"

#include <QApplication>

#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    preferSmallScreenUpdates();
    const CommandLine early = CommandLine::parse(argc, argv, CommandLine::Stage::BeforeToolkit);
    if (!early.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(early.error));
        return 2;
    }
    if (early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version) {
        const QString text = early.action == CommandLine::Action::Help ? CommandLine::helpText()
                                                                       : CommandLine::versionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    const bool headless = early.action == CommandLine::Action::Render;
    if (headless) {
        // No X server needed, and the picture's pixel ratio is the one asked for, whatever
        // the environment says.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_SCALE_FACTOR", QByteArray::number(early.scale));
        qunsetenv("QT_SCREEN_SCALE_FACTORS");
        qunsetenv("QT_FONT_DPI");
    } else {
        if (!ScreenZoom::prepareDisplay(argc, argv))
            return 1;
        ScreenZoom::prepareZoom(early);
    }

    // Qt takes its own options off a copy of the line, so that argv keeps them all for a
    // start at a fitted zoom. A render adds -platform offscreen last, so that whatever the
    // line says, no window can come of it.
    static char platform[] = "-platform", offscreen[] = "offscreen";
    std::vector<char *> qtArgv(argv, argv + argc);
    if (headless)
        qtArgv.insert(qtArgv.end(), {platform, offscreen});
    qtArgv.push_back(nullptr);
    int qtArgc = int(qtArgv.size()) - 1;
    QApplication app(qtArgc, qtArgv.data());
    const CommandLine line = CommandLine::parse(qtArgc, qtArgv.data());
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(line.error));
        return 2;
    }
    QApplication::setApplicationName(QString::fromUtf8(About::Name));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(About::AppId));
    QApplication::setStyle(new ClassicStyle);
    Fonts::installSubstitutions();

    if (headless)
        return renderHeadless(line);

    ScreenZoom::fitToScreen(line, argv, MainWindow::ClientSize);
    MainWindow window;
    applyPresets(window, line);
    if (line.sound)
        window.setSoundOn(true);
    if (line.fullscreen)
        window.showFullScreenCentred();
    else
        window.show();
    if (line.start)
        QMetaObject::invokeMethod(&window, &MainWindow::pressStart, Qt::QueuedConnection);
    return QApplication::exec();
}
