// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "plotrecorder.h"

#include <vector>

// One row of the curve log: a plotted point and the run that plotted it, counted from 1
// since the curves were last wiped.
struct CurveRow {
    int Run = 0;
    PlottedPoint Point;
};

// The points of every curve the picture shows now. Wiped with the curves, kept when the
// question is answered No, exactly as the picture keeps the earlier curves.
class CurveLog : public PlotRecorder
{
public:
    void runBegins(bool curvesWiped) override;
    void pointPlotted(const PlottedPoint &point) override;

    const std::vector<CurveRow> &rows() const { return m_rows; }
    // Runs since the curves were last wiped, whether or not they plotted anything.
    int runs() const { return m_runs; }

private:
    std::vector<CurveRow> m_rows;
    int m_runs = 0;
};
