// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numbertext.h"

#include <QLocale>

#include <cmath>

namespace NumberText {

QString fromInteger(int value)
{
    return QString::number(value);
}

QString fromFraction(double value)
{
    return QLocale().toString(value, 'f', 1);
}

std::optional<double> toNumber(const QString &text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace NumberText
