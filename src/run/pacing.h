// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <chrono>

// The countdown of one step: the slow-down factor times 20000. A text that is not a
// number, or a negative factor, gives no wait; factors above the slowest setting, 30,
// count as 30, so no text can stall a run.
double delayCount(const QString &slowDownText);

// Each unit of the countdown lasts half a microsecond: factor 1 gives 10 ms a step.
std::chrono::microseconds stepWait(double delayCount);

// When each step of a run is due: one step's wait after the one before, so the time spent
// drawing a step is taken out of its wait instead of added to it. A step shown when the
// next one is already due was late (the machine was busy); the schedule starts again from
// it, so the steps after it keep their whole wait and none are rushed to catch up. The
// first step of a run comes after the last one was due, so it starts a fresh schedule.
class StepSchedule
{
public:
    using Clock = std::chrono::steady_clock;

    // Called when a step has been put on the screen at `now`; returns when the next is due.
    Clock::time_point stepShown(Clock::time_point now, double delayCount);

private:
    Clock::time_point m_due{};
};
