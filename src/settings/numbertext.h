// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

// Numbers travel between the settings and the run as text in the user's locale:
// integers as bare digits, 0.5 and 1.5 with the locale's decimal separator.
namespace NumberText {
QString fromInteger(int value);
QString fromFraction(double value);
// Empty when the text is not a finite number in the user's locale.
std::optional<double> toNumber(const QString &text);
} // namespace NumberText
