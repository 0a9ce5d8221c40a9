// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>

// The window's five fonts, given in pixels so that they come out the same size whatever
// dots per inch the screen reports.
namespace Fonts {
QFont T15();
QFont T14();
QFont T12();
QFont S8B();
QFont standard();

// The classic face names map to their metric-compatible Liberation faces.
void installSubstitutions();
} // namespace Fonts
