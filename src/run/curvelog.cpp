// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvelog.h"

#include "settings/graphcolours.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

void CurveLog::runBegins(bool curvesWiped)
{
    if (curvesWiped) {
        m_rows.clear();
        m_runs = 0;
    }
    ++m_runs;
}

void CurveLog::pointPlotted(const PlottedPoint &point)
{
    m_rows.push_back({m_runs, point});
}

QByteArray CurveLog::toCsv() const
{
    using CurveText::exactNumber;
    QString text = QStringLiteral("run,relative_frequency,relative_length,colour,thickness,"
                                  "phase_angle,resultant_length,probability\r\n");
    for (const auto &[run, p] : m_rows) {
        const QString colour = CurveText::colourName(p.ColourWord).value_or(p.ColourWord);
        text += QString::number(run) + u',' + exactNumber(p.RelativeFrequency) + u',' +
                exactNumber(p.RelativeLength) + u',' + CurveText::csvField(colour) + u',' +
                QString::number(p.Thickness) + u',' + exactNumber(p.PhaseAngle) + u',' +
                exactNumber(p.ResultantLength) + u',' + exactNumber(p.PlotX) +
                QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

namespace CurveText {

std::optional<QString> colourName(QStringView colourWord)
{
    if (const GraphColour *colour = GraphColours::ofWord(colourWord))
        return QString::fromLatin1(colour->name);
    return std::nullopt;
}

QString csvField(const QString &text)
{
    const bool mustQuote = std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == u',' || c == u'"' || c == u'\r' || c == u'\n';
    });
    if (!mustQuote)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString exactNumber(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

namespace {

// To a tenth, without trailing zeros: 200, 112,5.
QString roughNumber(double value, const QLocale &locale)
{
    return locale.toString(std::round(value * 10) / 10, 'g', 15);
}

} // namespace

QString describe(const CurveLog &log, const QLocale &locale)
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
    QString text = curves == 1 ? QStringLiteral("1 curve.")
                   : curves == 0
                       ? QStringLiteral("No curve.")
                       : QStringLiteral("%1 curves, oldest first.").arg(numbers.toString(curves));

    auto first = rows.begin();
    for (int run = 1; run <= log.runs(); ++run) {
        const auto end =
            std::find_if(first, rows.end(), [run](const CurveRow &row) { return row.Run > run; });
        if (first == end) {
            text += QStringLiteral(" Run %1 plotted no points.").arg(numbers.toString(run));
            continue;
        }
        const PlottedPoint &a = first->Point;
        const PlottedPoint &b = std::prev(end)->Point;
        const auto [least, greatest] =
            std::minmax_element(first, end, [](const CurveRow &x, const CurveRow &y) {
                return x.Point.PlotX < y.Point.PlotX;
            });
        text += QStringLiteral(" Run %1: relative frequency %2, relative length %3, %4; the "
                               "probability swings between %5 and %6")
                    .arg(numbers.toString(run), roughNumber(a.RelativeFrequency, numbers),
                         roughNumber(a.RelativeLength, numbers),
                         colourName(a.ColourWord).value_or(a.ColourWord),
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

} // namespace CurveText
