// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sweep.h"

#include "canvas/canvas.h"
#include "dialplot.h"
#include "pacing.h"
#include "plotrecorder.h"
#include "scene.h"
#include "settings/settingsstore.h"
#include "steppacer.h"

namespace {

constexpr int LastThickness = 300;

// One step of the sweep at the given thickness, without the wait.
void drawSweepStep(const Scene &s, int thickness, const SettingsStore &settings, Canvas &canvas,
                   PlotRecorder &plots)
{
    const auto erase = StrokeColour::inactiveBorder();

    canvas.setPenWidth(3);
    canvas.line(s.DialX, s.DialY, s.DialX + s.FrontArrowLength, s.DialY);
    canvas.setPenWidth(1);
    const double BackY = s.FrontY + thickness;
    const double PrevBackY = s.FrontY + thickness - 1;

    canvas.line(s.SheetLeft, BackY, s.SheetRight, BackY);
    // The front path goes down before the previous back path is erased, so the erasing
    // lines may take pixels out of it; the new back path then puts back what it covers.
    canvas.line(s.SourceX, s.SourceY, s.ReflectX, s.FrontY);
    canvas.line(s.SourceX, s.SourceY, s.ReflectX, PrevBackY, erase);
    canvas.line(s.ReflectX, s.FrontY, s.DetectorX, s.DetectorY);
    canvas.line(s.SourceX, s.SourceY, s.ReflectX, BackY);
    canvas.line(s.ReflectX, PrevBackY, s.DetectorX, s.DetectorY, erase);
    canvas.line(s.ReflectX, BackY, s.DetectorX, s.DetectorY);

    const QString colourWord = settings.text(StateField::nBarva);
    if (const auto PlotX = drawDialAndPlot(s, thickness, colourWord, canvas))
        plots.pointPlotted({s.RelativeFrequency, s.RelativeLength, colourWord, thickness,
                            s.PhaseStep * thickness, resultantLength(s, thickness), *PlotX});

    // Every row is filled again, not only the newest: the erasing lines cross the whole
    // sheet in every step and would otherwise leave their marks in it.
    canvas.setPenWidth(1);
    for (int k = 1; k <= thickness; ++k)
        canvas.line(s.SheetLeft, s.FrontY + k, s.SheetRight, s.FrontY + k);
}

} // namespace

SweepEnd runSweep(const Scene &s, const SettingsStore &settings, Canvas &canvas, StepPacer &pacer,
                  PlotRecorder &plots)
{
    int Thickness = 0;
    for (; Thickness <= LastThickness; ++Thickness) {
        drawSweepStep(s, Thickness, settings, canvas, plots);
        pacer.stepDone(delayCount(settings.text(StateField::nSpomaleni)));
    }
    return {Thickness, s.FrontY + LastThickness - 1};
}
