#include "windowpacer.h"

#include "canvas/canvaswidget.h"
#include "run/pacing.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

WindowPacer::WindowPacer(CanvasWidget &canvas)
    : m_canvas(canvas)
{}

void WindowPacer::stepDone(double delayCount)
{
    m_canvas.flush();
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(stepWait(delayCount));
    if (wait.count() <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(wait);
    loop.exec();
}
