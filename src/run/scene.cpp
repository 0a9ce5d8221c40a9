// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

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
    const double maxArrow = s.FrontArrowLength + s.BackArrowLength;
    const double maximumX = s.GraphLeft + 0.02 * maxArrow * maxArrow;
    const double halfMaximumX = s.GraphLeft + 0.01 * maxArrow * maxArrow;

    canvas.setPenWidth(1);
    canvas.line(s.GraphLeft, s.GraphTop, s.GraphLeft, s.GraphBottom);
    canvas.line(s.DialX, s.DialY, s.DialX + s.FrontArrowLength, s.DialY);
    canvas.line(s.GraphLeft, s.GraphTop, s.GraphRight, s.GraphTop);
    canvas.circle(s.DialX, s.DialY, s.FrontArrowLength);
    canvas.line(s.SheetLeft, s.FrontY, s.SheetRight, s.FrontY);
    canvas.circle(s.SourceX, s.SourceY, 5);
    canvas.circle(s.DetectorX, s.DetectorY, 5);
    canvas.line(s.SourceX, s.SourceY, s.ReflectX, s.FrontY);
    canvas.line(maximumX, s.GraphTop, maximumX, s.GraphBottom);
    canvas.line(halfMaximumX, s.GraphTop, halfMaximumX, s.GraphBottom);
}
