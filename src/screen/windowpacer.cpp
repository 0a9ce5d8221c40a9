#include "windowpacer.h"

#include "canvaswidget.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

WindowPacer::WindowPacer(CanvasWidget &canvas)
    : m_canvas(canvas)
{}

void WindowPacer::stepDone(double delayCount)
{
    m_canvas.flush();
    waitUntil(m_schedule.stepShown(StepSchedule::Clock::now(), delayCount));
}

// Timers count whole milliseconds; rounding up wakes a little late rather than early,
// and the schedule takes that out of the next wait.
void WindowPacer::waitUntil(StepSchedule::Clock::time_point due)
{
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(due - StepSchedule::Clock::now());
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
