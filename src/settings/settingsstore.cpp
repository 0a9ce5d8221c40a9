// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settingsstore.h"

#include "numbertext.h"

std::optional<double> SettingsStore::number(StateField field) const
{
    return NumberText::toNumber(text(field));
}
