// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts.h"

namespace {

QFont font(const QString &family, int pixelSize, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

const QString Serif = QStringLiteral("Times New Roman");
const QString Sans = QStringLiteral("MS Sans Serif");

} // namespace

namespace Fonts {

// Point sizes at 96 dots per inch: 15.75, 14.25, 12 and 8.25 points.
QFont T15()
{
    return font(Serif, 21, true);
}
QFont T14()
{
    return font(Serif, 19, true);
}
QFont T12()
{
    return font(Serif, 16, true);
}
QFont S8B()
{
    return font(Sans, 11, true);
}
QFont standard()
{
    return font(Sans, 11, false);
}

void installSubstitutions()
{
    QFont::insertSubstitution(Sans, QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(Serif, QStringLiteral("Liberation Serif"));
}

} // namespace Fonts
