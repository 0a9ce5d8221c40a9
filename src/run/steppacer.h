// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Puts each finished step of the sweep on the screen, then waits before the next one.
class StepPacer
{
public:
    virtual ~StepPacer() = default;

    // delayCount is the step's countdown, the slow-down factor times 20000.
    virtual void stepDone(double delayCount) = 0;
};
