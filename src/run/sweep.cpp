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
    const auto f = [](double v) { return float(v); };
    const auto erase = StrokeColour::inactiveBorder();

    canvas.setPenWidth(3);
    canvas.line(f(s.DialX), f(s.DialY), f(s.DialX + s.FrontArrowLength), f(s.DialY));
    canvas.setPenWidth(1);
    const double BackY = s.FrontY + thickness;
    const double PrevBackY = s.FrontY + thickness - 1;

    canvas.line(f(s.SheetLeft), f(BackY), f(s.SheetRight), f(BackY));
    // The front path goes down before the previous back path is erased, so the erasing
    // lines may take pixels out of it; the new back path then puts back what it covers.
    canvas.line(f(s.SourceX), f(s.SourceY), f(s.ReflectX), f(s.FrontY));
    canvas.line(f(s.SourceX), f(s.SourceY), f(s.ReflectX), f(PrevBackY), erase);
    canvas.line(f(s.ReflectX), f(s.FrontY), f(s.DetectorX), f(s.DetectorY));
    canvas.line(f(s.SourceX), f(s.SourceY), f(s.ReflectX), f(BackY));
    canvas.line(f(s.ReflectX), f(PrevBackY), f(s.DetectorX), f(s.DetectorY), erase);
    canvas.line(f(s.ReflectX), f(BackY), f(s.DetectorX), f(s.DetectorY));

    const QString colourWord = settings.text(StateField::nBarva);
    if (drawDialAndPlot(s, thickness, colourWord, canvas))
        plots.pointPlotted({s.RelativeFrequency, s.RelativeLength, colourWord, thickness,
                            s.PhaseStep * thickness, resultantLength(s, thickness),
                            plotX(s, thickness)});

    // Every row is filled again, not only the newest: the erasing lines cross the whole
    // sheet in every step and would otherwise leave their marks in it.
    canvas.setPenWidth(1);
    for (int k = 1; k <= thickness; ++k)
        canvas.line(f(s.SheetLeft), f(s.FrontY + k), f(s.SheetRight), f(s.FrontY + k));
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
