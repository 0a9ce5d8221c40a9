// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// How the program tells of an error on standard error: one line that begins with the name
// of its command, "quorvane: ", as command-line tools do.
namespace ErrorLine {

// The line, without its newline.
QString text(const QString &what);
// Writes the line and a newline on standard error.
void print(const QString &what);

} // namespace ErrorLine
