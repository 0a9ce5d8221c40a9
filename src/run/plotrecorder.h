// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// What one plotted point of a curve stands for. ColourWord is the graph colour word the
// run read, one that names a colour, since points in no colour are not plotted.
struct PlottedPoint {
    double RelativeFrequency = 1;
    double RelativeLength = 1;
    QString ColourWord;
    int Thickness = 0;
    double PhaseAngle = 0;
    // The resultant arrow on the dial, in canvas pixels.
    double ResultantLength = 0;
    // PlotX as plotted: 0.02 times the squared resultant length.
    double PlotX = 0;
};

// Told by each run what it plots, in the order it plots it, so that the numbers behind the
// picture can leave the window without the run knowing files or widgets.
class PlotRecorder
{
public:
    virtual ~PlotRecorder() = default;

    // A run begins. curvesWiped: the earlier curves were wiped from the picture, as on the
    // first run or after any answer but No to the question.
    virtual void runBegins(bool curvesWiped) = 0;
    virtual void pointPlotted(const PlottedPoint &point) = 0;
};
