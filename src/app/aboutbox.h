// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QString;
class QWidget;

// What the program is, which version, who made it and under which licence it may be shared.
namespace AboutBox {
QString text();
void show(QWidget *window);
} // namespace AboutBox
