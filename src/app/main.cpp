#include "fonts.h"
#include "mainwindow.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quorvane.Quorvane"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    Fonts::installSubstitutions();

    MainWindow window;
    window.show();
    return QApplication::exec();
}
