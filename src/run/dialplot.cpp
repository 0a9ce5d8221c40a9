// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialplot.h"

#include "canvas/canvas.h"
#include "scene.h"
#include "settings/graphcolours.h"

#include <cmath>
#include <optional>

namespace {

struct Tip {
    double x;
    double y;
};

// The back arrow starts at the front arrow's tip and turns clockwise on screen as the
// phase grows; at phase 0 it points straight back along the front arrow.
Tip backArrowTip(const Scene &s, double phaseAngle)
{
    return {s.DialX + s.FrontArrowLength - s.BackArrowLength * std::cos(phaseAngle),
            s.DialY - s.BackArrowLength * std::sin(phaseAngle)};
}

// The point colour for a colour word; black draws in the fore colour, which is black.
std::optional<StrokeColour> pointColour(QStringView word)
{
    const GraphColour *colour = GraphColours::ofWord(word);
    if (!colour)
        return std::nullopt;
    if (colour->option == Option::opCerna)
        return StrokeColour::fore();
    return StrokeColour::rgb(colour->red, colour->green, colour->blue);
}

} // namespace

double plotX(const Scene &s, int thickness)
{
    const double PhaseAngle = s.PhaseStep * thickness;
    // The resultant's squared length straight from its two parts: squaring
    // resultantLength() would round it once more.
    const double cosPart = s.BackArrowLength * std::cos(PhaseAngle) - s.FrontArrowLength;
    const double sinPart = s.BackArrowLength * std::sin(PhaseAngle);
    return (cosPart * cosPart + sinPart * sinPart) * 0.02;
}

double resultantLength(const Scene &s, int thickness)
{
    const double PhaseAngle = s.PhaseStep * thickness;
    return std::hypot(s.BackArrowLength * std::cos(PhaseAngle) - s.FrontArrowLength,
                      s.BackArrowLength * std::sin(PhaseAngle));
}

std::optional<double> drawDialAndPlot(const Scene &s, int thickness, QStringView colourWord,
                                      Canvas &canvas)
{
    const Tip tip = backArrowTip(s, s.PhaseStep * thickness);
    const Tip previous = backArrowTip(s, s.PhaseStep * (thickness - 1));
    const double frontTipX = s.DialX + s.FrontArrowLength;

    canvas.setPenWidth(2);
    canvas.line(frontTipX, s.DialY, previous.x, previous.y, StrokeColour::buttonFace());
    canvas.line(frontTipX, s.DialY, tip.x, tip.y, StrokeColour::rgb(255, 0, 0));
    canvas.line(s.DialX, s.DialY, previous.x, previous.y, StrokeColour::rgb(255, 192, 192));
    canvas.line(s.DialX, s.DialY, tip.x, tip.y, StrokeColour::rgb(0, 255, 0));

    const double PlotX = plotX(s, thickness);
    canvas.setPenWidth(2);
    const auto colour = pointColour(colourWord);
    if (!colour)
        return std::nullopt;
    canvas.circle(s.GraphLeft + PlotX, s.GraphTop + thickness, 1, *colour);
    return PlotX;
}
