#include "completion.h"

#include "canvas/canvas.h"
#include "runendview.h"
#include "scene.h"
#include "sweep.h"

void completeRun(const Scene &s, const SweepEnd &sweep, Canvas &canvas, RunEndView &view)
{
    const auto f = [](double v) { return float(v); };
    const auto erase = StrokeColour::inactiveBorder();

    // Three pixels wide, so they also cover the last back path, at most a row away.
    canvas.setPenWidth(3);
    canvas.line(f(s.SourceX), f(s.SourceY), f(s.ReflectX), f(sweep.PrevBackY), erase);
    canvas.line(f(s.ReflectX), f(sweep.PrevBackY), f(s.DetectorX), f(s.DetectorY), erase);
    canvas.setPenWidth(2);
    canvas.setPenWidth(1);

    // Thickness is one past the last step, so the fill covers one row below the sheet.
    for (int k = 1; k <= sweep.Thickness; ++k)
        canvas.line(f(s.SheetLeft), f(s.FrontY + k), f(s.SheetRight), f(s.FrontY + k),
                    StrokeColour::rgb(192, 255, 255));
    canvas.line(f(s.SourceX), f(s.SourceY), f(s.ReflectX), f(sweep.PrevBackY));
    canvas.line(f(s.ReflectX), f(sweep.PrevBackY), f(s.DetectorX), f(s.DetectorY));

    view.showThicknessPicture();
    view.showLabel(RunEndView::Label::labOdrazovost, s.GraphLeft + 50, s.GraphTop - 20);
    view.showLabel(RunEndView::Label::labZdroj, s.SourceX - 5, s.SourceY - 30);
    view.showLabel(RunEndView::Label::labDetektor, s.DetectorX - 40, s.DetectorY - 30);
}
