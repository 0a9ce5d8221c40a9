// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pacing.h"

#include "settings/numbertext.h"
#include "settings/slowdown.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double CountPerFactor = 20000;
} // namespace

double delayCount(const QString &slowDownText)
{
    const double factor = NumberText::toNumber(slowDownText).value_or(0);
    return std::clamp(factor, 0.0, double(SlowDown::Slowest)) * CountPerFactor;
}

std::chrono::microseconds stepWait(double delayCount)
{
    return std::chrono::microseconds(std::llround(std::max(delayCount, 0.0) * 0.5));
}

StepSchedule::Clock::time_point StepSchedule::stepShown(Clock::time_point now, double delayCount)
{
    const auto wait = stepWait(delayCount);
    if (m_due + wait <= now)
        m_due = now;
    m_due += wait;
    return m_due;
}
