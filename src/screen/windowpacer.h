#pragma once

#include "run/pacing.h"
#include "run/steppacer.h"

class CanvasWidget;

// Shows each step on the screen, then waits until the next is due in an event loop that
// serves painting and timers; the window's input journal keeps the user's clicks and keys
// until the run is over. The window never looks frozen and no core is kept busy.
class WindowPacer : public StepPacer
{
public:
    explicit WindowPacer(CanvasWidget &canvas);

    void stepDone(double delayCount) override;

private:
    static void waitUntil(StepSchedule::Clock::time_point due);

    CanvasWidget &m_canvas;
    StepSchedule m_schedule;
};
