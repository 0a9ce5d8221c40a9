// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/settingsstore.h"

#include <array>

class QLineEdit;

// The settings store on the window's six hidden text fields.
class WindowSettingsStore : public SettingsStore
{
public:
    // The fields in the order of StateField.
    explicit WindowSettingsStore(const std::array<QLineEdit *, 6> &fields);

    QString text(StateField field) const override;
    void setText(StateField field, const QString &text) override;

private:
    std::array<QLineEdit *, 6> m_fields;
};
