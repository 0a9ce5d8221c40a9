// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settingsstore.h"

#include <array>

// The six state fields as plain strings, filled with the start-up values: settings for a
// run without a window, as the tests and the bench make them.
class MemorySettingsStore : public SettingsStore
{
public:
    MemorySettingsStore();

    QString text(StateField field) const override { return m_texts.at(std::size_t(field)); }
    void setText(StateField field, const QString &text) override
    {
        m_texts.at(std::size_t(field)) = text;
    }

private:
    std::array<QString, 6> m_texts;
};
