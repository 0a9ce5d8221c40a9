#include "scene.h"

#include "canvas/canvas.h"
#include "settings/settingsstore.h"

Scene Scene::compute(double relativeFrequency, double relativeLength, double sourceShift)
{
    Scene s;
    s.RelativeFrequency = relativeFrequency;
    s.RelativeLength = relativeLength;
    // 1.57041 / 100 is the base turn per pixel; it is deliberately not pi / 200
    // (0.0157080), and the factor 5 comes before the relative frequency.
    s.PhaseStep = 1.57041 / 100 * 5 * relativeFrequency;
    s.BackArrowLength = relativeLength * s.FrontArrowLength;
    s.DialY = s.AreaHeight / 2 - 180;
    s.GraphLeft = s.AreaWidth / 2 + 20;
    s.GraphTop = s.AreaHeight / 2 - 100;
    s.GraphBottom = s.AreaHeight / 2 + 250;
    s.DialX = s.GraphLeft + 50;
    s.GraphRight = s.AreaWidth - 20;
    s.SheetRight = s.AreaWidth / 2;
    s.FrontY = s.AreaHeight / 2 - 100;
    s.SourceX = s.SheetLeft;
    s.SourceY = (s.FrontY - 100) + sourceShift;
    s.DetectorX = s.SheetRight;
    s.DetectorY = s.FrontY - 100;
    s.ReflectX = s.SheetLeft + (s.SheetRight - s.SheetLeft) / 2;
    return s;
}

Scene Scene::fromSettings(const SettingsStore &settings)
{
    const double frequency = settings.number(StateField::nFrekvence).value_or(1);
    const double length = settings.number(StateField::nNasob).value_or(1);
    const double shift = settings.number(StateField::nPosunZdroje).value_or(0);
    return compute(frequency, length, shift);
}

void drawStaticScene(const Scene &s, Canvas &canvas)
{
    const auto f = [](double v) { return float(v); };
    const double maxArrow = s.FrontArrowLength + s.BackArrowLength;
    const double maximumX = s.GraphLeft + 0.02 * maxArrow * maxArrow;
    const double halfMaximumX = s.GraphLeft + 0.01 * maxArrow * maxArrow;

    canvas.setPenWidth(1);
    canvas.line(f(s.GraphLeft), f(s.GraphTop), f(s.GraphLeft), f(s.GraphBottom));
    canvas.line(f(s.DialX), f(s.DialY), f(s.DialX + s.FrontArrowLength), f(s.DialY));
    canvas.line(f(s.GraphLeft), f(s.GraphTop), f(s.GraphRight), f(s.GraphTop));
    canvas.circle(f(s.DialX), f(s.DialY), f(s.FrontArrowLength));
    canvas.line(f(s.SheetLeft), f(s.FrontY), f(s.SheetRight), f(s.FrontY));
    canvas.circle(f(s.SourceX), f(s.SourceY), 5);
    canvas.circle(f(s.DetectorX), f(s.DetectorY), 5);
    canvas.line(f(s.SourceX), f(s.SourceY), f(s.ReflectX), f(s.FrontY));
    canvas.line(f(maximumX), f(s.GraphTop), f(maximumX), f(s.GraphBottom));
    canvas.line(f(halfMaximumX), f(s.GraphTop), f(halfMaximumX), f(s.GraphBottom));
}
