// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowsettingsstore.h"

#include <QLineEdit>

WindowSettingsStore::WindowSettingsStore(const std::array<QLineEdit *, 6> &fields)
    : m_fields(fields)
{}

QString WindowSettingsStore::text(StateField field) const
{
    return m_fields.at(std::size_t(field))->text();
}

void WindowSettingsStore::setText(StateField field, const QString &text)
{
    m_fields.at(std::size_t(field))->setText(text);
}
