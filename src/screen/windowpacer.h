// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "run/pacing.h"
#include "run/steppacer.h"

#include <QTimer>

class CanvasWidget;

// Shows each step on the screen, then serves the window's events until the next is due:
// painting and timers as ever, the user's clicks and keys into the window's input journal,
// which keeps them until the run is over. The window never looks frozen and no core is kept
// busy.
class WindowPacer : public StepPacer
{
public:
    explicit WindowPacer(CanvasWidget &canvas);

    void stepDone(double delayCount) override;

private:
    void waitUntil(StepSchedule::Clock::time_point due);

    CanvasWidget &m_canvas;
    StepSchedule m_schedule;
    // Only wakes the event loop when the next step is due; one timer serves every step.
    QTimer m_due;
};
