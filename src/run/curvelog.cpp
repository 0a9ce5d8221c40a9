#include "curvelog.h"

#include "settings/statewords.h"

#include <algorithm>
#include <cmath>
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
    if (colourWord == ColourWord::černá)
        return QStringLiteral("black");
    if (colourWord == ColourWord::červená)
        return QStringLiteral("red");
    if (colourWord == ColourWord::zelená)
        return QStringLiteral("green");
    if (colourWord == ColourWord::modrá)
        return QStringLiteral("blue");
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
        return {};
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);

    const auto &rows = log.rows();
    int curves = 0;
    for (std::size_t i = 0; i < rows.size(); ++i)
        curves += i == 0 || rows[i].Run != rows[i - 1].Run;
    QString text = curves == 1 ? QStringLiteral("1 curve. ")
                               : QStringLiteral("%1 curves. ").arg(numbers.toString(curves));

    const int run = log.runs();
    const auto first = std::find_if(rows.begin(), rows.end(),
                                    [run](const CurveRow &row) { return row.Run == run; });
    if (first == rows.end())
        return text + QStringLiteral("Run %1 plotted no points.").arg(numbers.toString(run));
    const PlottedPoint &a = first->Point;
    const PlottedPoint &b = rows.back().Point;

    const auto [least, greatest] =
        std::minmax_element(first, rows.end(), [](const CurveRow &x, const CurveRow &y) {
            return x.Point.PlotX < y.Point.PlotX;
        });
    text += QStringLiteral("Run %1: relative frequency %2, %3; the probability swings between "
                           "%4 and %5")
                .arg(numbers.toString(run), roughNumber(a.RelativeFrequency, numbers),
                     colourName(a.ColourWord).value_or(a.ColourWord),
                     roughNumber(least->Point.PlotX, numbers),
                     roughNumber(greatest->Point.PlotX, numbers));
    // The phase grows evenly with the thickness, so a full turn of it is one period.
    const double turn = b.PhaseAngle - a.PhaseAngle;
    if (b.Thickness != a.Thickness && std::abs(turn) > 1e-12) {
        const double period = 2 * std::numbers::pi * (b.Thickness - a.Thickness) / std::abs(turn);
        text += QStringLiteral(" with a period of about %1 rows")
                    .arg(numbers.toString(std::llround(period)));
    }
    return text;
}

} // namespace CurveText
