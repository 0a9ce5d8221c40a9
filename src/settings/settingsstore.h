// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "statefield.h"

#include <QString>

#include <optional>

// The settings live as the texts of six hidden fields of the window and nowhere else.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString text(StateField field) const = 0;
    virtual void setText(StateField field, const QString &text) = 0;

    // The field's text read as a number in the user's locale; empty when it is none.
    std::optional<double> number(StateField field) const;
};
