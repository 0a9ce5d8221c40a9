// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "completion.h"

#include "canvas/canvas.h"
#include "runendview.h"
#include "scene.h"
#include "sweep.h"

void completeRun(const Scene &s, const SweepEnd &sweep, Canvas &canvas, RunEndView &view)
{
    const auto erase = StrokeColour::inactiveBorder();

    // Three pixels wide, so they also cover the last back path, at most a row away.
    canvas.setPenWidth(3);
    canvas.line(s.SourceX, s.SourceY, s.ReflectX, sweep.PrevBackY, erase);
    canvas.line(s.ReflectX, sweep.PrevBackY, s.DetectorX, s.DetectorY, erase);
    // Width 2 and at once 1: the 2 paints nothing, and the fill below is one pixel thick.
    canvas.setPenWidth(2);
    canvas.setPenWidth(1);

    // Thickness is one past the last step, so the fill covers one row below the sheet.
    for (int k = 1; k <= sweep.Thickness; ++k)
        canvas.line(s.SheetLeft, s.FrontY + k, s.SheetRight, s.FrontY + k,
                    StrokeColour::rgb(192, 255, 255));
    canvas.line(s.SourceX, s.SourceY, s.ReflectX, sweep.PrevBackY);
    canvas.line(s.ReflectX, sweep.PrevBackY, s.DetectorX, s.DetectorY);

    view.showThicknessPicture();
    view.showLabel(RunEndView::Label::labOdrazovost, s.GraphLeft + 50, s.GraphTop - 20);
    view.showLabel(RunEndView::Label::labZdroj, s.SourceX - 5, s.SourceY - 30);
    view.showLabel(RunEndView::Label::labDetektor, s.DetectorX - 40, s.DetectorY - 30);
}
