// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowpacer.h"

#include "canvaswidget.h"

#include <QCoreApplication>

WindowPacer::WindowPacer(CanvasWidget &canvas)
    : m_canvas(canvas)
{
    m_due.setTimerType(Qt::PreciseTimer);
    m_due.setSingleShot(true);
}

void WindowPacer::stepDone(double delayCount)
{
    m_canvas.flush();
    waitUntil(m_schedule.stepShown(StepSchedule::Clock::now(), delayCount));
}

// Timers count whole milliseconds; rounding up wakes a little late rather than early,
// and the schedule takes that out of the next wait. The events are served right here
// rather than by an event loop of the step's own: making one and waking it to quit costs
// more than the rest of the wait, 301 times a run.
void WindowPacer::waitUntil(StepSchedule::Clock::time_point due)
{
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(due - StepSchedule::Clock::now());
    if (wait.count() <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    m_due.start(wait);
    while (m_due.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
