// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "plotrecorder.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <optional>
#include <vector>

// One row of the curve log: a plotted point and the run that plotted it, counted from 1
// since the curves were last wiped.
struct CurveRow {
    int Run = 0;
    PlottedPoint Point;
};

// The points of every curve the picture shows now. Wiped with the curves, kept when the
// question is answered No, exactly as the picture keeps the earlier curves.
class CurveLog : public PlotRecorder
{
public:
    void runBegins(bool curvesWiped) override;
    void pointPlotted(const PlottedPoint &point) override;

    const std::vector<CurveRow> &rows() const { return m_rows; }
    // Runs since the curves were last wiped, whether or not they plotted anything.
    int runs() const { return m_runs; }

    // One header row, then one row per point; C locale, shortest exact decimals, CRLF.
    QByteArray toCsv() const;

private:
    std::vector<CurveRow> m_rows;
    int m_runs = 0;
};

namespace CurveText {

// The English name of a graph colour word ("zelená" is "green"); empty for a word that
// names no colour.
std::optional<QString> colourName(QStringView colourWord);

// A CSV field as RFC 4180 has it: quoted, with quotes doubled, only when it must be.
QString csvField(const QString &text);

// A number as text that reads back as exactly the same double, in C locale.
QString exactNumber(double value);

// What the picture shows, for a screen reader: how many curves, then each run since the
// curves were last wiped, oldest first, with its settings, colour, least and greatest
// probability and period in rows; before any run, that the canvas is empty and how to begin.
QString describe(const CurveLog &log, const QLocale &locale);

} // namespace CurveText
