#pragma once

#include "run/steppacer.h"

class CanvasWidget;

// Shows each step on the screen, then waits in an event loop that serves painting and
// timers; the window's input journal keeps the user's clicks and keys until the run is
// over. The window never looks frozen and no core is kept busy.
class WindowPacer : public StepPacer
{
public:
    explicit WindowPacer(CanvasWidget &canvas);

    void stepDone(double delayCount) override;

private:
    CanvasWidget &m_canvas;
};
