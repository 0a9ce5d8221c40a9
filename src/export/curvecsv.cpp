// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvecsv.h"

#include "run/curvelog.h"
#include "settings/graphcolours.h"

#include <QLocale>

#include <algorithm>

namespace CurveCsv {

QByteArray of(const CurveLog &log)
{
    QString text = QStringLiteral("run,relative_frequency,relative_length,colour,thickness,"
                                  "phase_angle,resultant_length,probability\r\n");
    for (const auto &[run, p] : log.rows()) {
        const GraphColour *named = GraphColours::ofWord(p.ColourWord);
        const QString colour = named ? QString::fromLatin1(named->name) : p.ColourWord;
        text += QString::number(run) + u',' + exactNumber(p.RelativeFrequency) + u',' +
                exactNumber(p.RelativeLength) + u',' + field(colour) + u',' +
                QString::number(p.Thickness) + u',' + exactNumber(p.PhaseAngle) + u',' +
                exactNumber(p.ResultantLength) + u',' + exactNumber(p.PlotX) +
                QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

QString field(const QString &text)
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

} // namespace CurveCsv
