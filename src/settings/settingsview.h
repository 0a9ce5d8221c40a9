// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "option.h"

// What the settings handlers may do to the window besides writing state fields.
class SettingsView
{
public:
    virtual ~SettingsView() = default;

    // Makes the option the chosen one of its group, without running its handler.
    virtual void selectOption(Option option) = 0;
    virtual void hideThicknessPicture() = 0;
};
