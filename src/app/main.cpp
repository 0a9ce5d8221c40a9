#include "classicstyle.h"
#include "fonts.h"
#include "mainwindow.h"
#include "screenupdates.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    preferSmallScreenUpdates();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quorvane.Quorvane"));
    QApplication::setStyle(new ClassicStyle);
    Fonts::installSubstitutions();

    MainWindow window;
    window.show();
    return QApplication::exec();
}
