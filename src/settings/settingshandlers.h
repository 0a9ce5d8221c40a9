// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "option.h"

#include <QString>

class SettingsStore;
class SettingsView;

// The start-up defaults and one handler per settings control. Stateless: everything
// they decide is written to the store or done to the view.
class SettingsHandlers
{
public:
    SettingsHandlers(SettingsStore &store, SettingsView &view);

    void startUp();
    void optionChosen(Option option);
    void scrollBarChanged(int value);

private:
    void chooseFrequency(const QString &frequency, Option colourOption);

    SettingsStore &m_store;
    SettingsView &m_view;
};
