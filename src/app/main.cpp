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
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = CommandLine::parse(arguments);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(line.error));
        return 2;
    }
    if (line.action == CommandLine::Action::Help || line.action == CommandLine::Action::Version) {
        const QString text = line.action == CommandLine::Action::Help ? CommandLine::helpText()
                                                                      : CommandLine::versionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
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
        if (!ScreenZoom::prepareDisplay(arguments))
            return 1;
        ScreenZoom::prepareZoom(line);
    }

    // Qt takes its own options out of argv; starting again at a fitted zoom needs them all.
    const std::vector<char *> wholeLine(argv, argv + argc + 1);
    // A render leaves Qt's own options (-platform and the like) out, so that nothing on the
    // line can bring back a window.
    int qtArgc = headless ? 1 : argc;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QString::fromUtf8(About::Name));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(About::AppId));
    QApplication::setStyle(new ClassicStyle);
    Fonts::installSubstitutions();

    if (headless)
        return renderHeadless(line);

    ScreenZoom::fitToScreen(line, wholeLine.data(), MainWindow::ClientSize);
    MainWindow window;
    applyPresets(window, line);
    if (line.fullscreen)
        window.showFullScreenCentred();
    else
        window.show();
    if (line.start)
        QMetaObject::invokeMethod(&window, &MainWindow::pressStart, Qt::QueuedConnection);
    return QApplication::exec();
}
