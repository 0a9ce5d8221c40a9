// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvelog.h"

void CurveLog::runBegins(bool curvesWiped)
{
    if (curvesWiped) {
        m_rows.clear();
        m_runs = 0;
    }
    ++m_runs;
}

void CurveLog::pointPlotted(const PlottedPoint &point)
{
    m_rows.push_back({m_runs, point});
}
