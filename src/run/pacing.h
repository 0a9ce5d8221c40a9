#pragma once

#include <QString>

#include <chrono>

// The countdown of one step: the slow-down factor times 20000. A text that is not a
// number, or a negative factor, gives no wait; factors above the slowest setting, 30,
// count as 30, so no text can stall a run.
double delayCount(const QString &slowDownText);

// Each unit of the countdown lasts half a microsecond: factor 1 gives 10 ms a step.
std::chrono::microseconds stepWait(double delayCount);
