// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvedescription.h"

#include "run/curvelog.h"
#include "settings/graphcolours.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace {

// To a tenth, without trailing zeros: 200, 112,5.
QString roughNumber(double value, const QLocale &locale)
{
    return locale.toString(std::round(value * 10) / 10, 'g', 15);
}

// The English name of the colour, or the word itself when it names none.
QString colourName(const QString &word)
{
    const GraphColour *colour = GraphColours::ofWord(word);
    return colour ? QString::fromLatin1(colour->name) : word;
}

} // namespace

QString describeCurves(const CurveLog &log, const QLocale &locale)
{
    if (log.runs() == 0)
        return QStringLiteral(
            "The canvas is empty: press Start to sweep the thickness of the glass "
            "and plot the probability of reflection.");
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);

    const auto &rows = log.rows();
    int curves = 0;
    for (std::size_t i = 0; i < rows.size(); ++i)
        curves += i == 0 || rows[i].Run != rows[i - 1].Run;
    QString text = curves == 1
                       ? QStringLiteral("1 curve.")
                       : QStringLiteral("%1 curves, oldest first.").arg(numbers.toString(curves));

    auto first = rows.begin();
    for (int run = 1; run <= log.runs(); ++run) {
        const auto end =
            std::find_if(first, rows.end(), [run](const CurveRow &row) { return row.Run > run; });
        // Every run plots a point at every step; this only keeps a log without them safe.
        if (first == end)
            continue;
        const PlottedPoint &a = first->Point;
        const PlottedPoint &b = std::prev(end)->Point;
        const auto [least, greatest] =
            std::minmax_element(first, end, [](const CurveRow &x, const CurveRow &y) {
                return x.Point.PlotX < y.Point.PlotX;
            });
        text += QStringLiteral(" Run %1: relative frequency %2, relative length %3, %4; the "
                               "probability swings between %5 and %6")
                    .arg(numbers.toString(run), roughNumber(a.RelativeFrequency, numbers),
                         roughNumber(a.RelativeLength, numbers), colourName(a.ColourWord),
                         roughNumber(least->Point.PlotX, numbers),
                         roughNumber(greatest->Point.PlotX, numbers));
        // The phase grows evenly with the thickness, so a full turn of it is one period.
        const double turn = b.PhaseAngle - a.PhaseAngle;
        if (b.Thickness != a.Thickness && std::abs(turn) > 1e-12) {
            const double period =
                2 * std::numbers::pi * (b.Thickness - a.Thickness) / std::abs(turn);
            text += QStringLiteral(" with a period of about %1 rows")
                        .arg(numbers.toString(std::llround(period)));
        }
        text += u'.';
        first = end;
    }
    return text;
}
