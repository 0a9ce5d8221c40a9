// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

class CurveLog;

// The curves' numbers as a file: one header row, then one row per plotted point; C locale,
// shortest exact decimals, CRLF.
namespace CurveCsv {

QByteArray of(const CurveLog &log);

// A field as RFC 4180 has it: quoted, with quotes doubled, only when it must be.
QString field(const QString &text);

// A number as text that reads back as exactly the same double, in C locale.
QString exactNumber(double value);

} // namespace CurveCsv
