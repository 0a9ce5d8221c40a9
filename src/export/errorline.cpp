// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "errorline.h"

#include "about.h"

#include <cstdio>

namespace ErrorLine {

QString text(const QString &what)
{
    return QString::fromUtf8(About::Command) + QStringLiteral(": ") + what;
}

void print(const QString &what)
{
    std::fprintf(stderr, "%s\n", qPrintable(text(what)));
}

} // namespace ErrorLine
