// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settingshandlers.h"

#include "graphcolours.h"
#include "numbertext.h"
#include "settingsstore.h"
#include "settingsview.h"
#include "slowdown.h"
#include "statewords.h"

using NumberText::fromFraction;
using NumberText::fromInteger;

SettingsHandlers::SettingsHandlers(SettingsStore &store, SettingsView &view)
    : m_store(store)
    , m_view(view)
{}

void SettingsHandlers::startUp()
{
    m_view.selectOption(Option::op1D);
    m_view.selectOption(Option::opzelená);
    m_view.selectOption(Option::op1);
    m_store.setText(StateField::nBarva, GraphColours::ofOption(Option::opzelená)->word.toString());
    m_store.setText(StateField::nStartuje, FirstRunFlag::Ano.toString());
    m_store.setText(StateField::nFrekvence, fromInteger(1));
    m_store.setText(StateField::nNasob, fromInteger(1));
    m_store.setText(StateField::nPosunZdroje, fromInteger(0));
    m_view.selectOption(Option::op0);
    m_view.selectOption(Option::opRychlá);
    m_store.setText(StateField::nSpomaleni, fromInteger(SlowDown::Fastest));
}

void SettingsHandlers::chooseFrequency(const QString &frequency, Option colourOption)
{
    m_store.setText(StateField::nFrekvence, frequency);
    m_store.setText(StateField::nBarva, GraphColours::ofOption(colourOption)->word.toString());
    m_view.selectOption(colourOption);
    m_view.hideThicknessPicture();
}

void SettingsHandlers::optionChosen(Option option)
{
    const auto setAndHide = [this](StateField field, const QString &text) {
        m_store.setText(field, text);
        m_view.hideThicknessPicture();
    };

    switch (option) {
    case Option::op05:
        return chooseFrequency(fromFraction(0.5), Option::opCervena);
    case Option::op1:
        return chooseFrequency(fromInteger(1), Option::opzelená);
    case Option::op15:
        return chooseFrequency(fromFraction(1.5), Option::opModra);
    case Option::op05D:
        return setAndHide(StateField::nNasob, fromFraction(0.5));
    case Option::op1D:
        return setAndHide(StateField::nNasob, fromInteger(1));
    case Option::op15D:
        return setAndHide(StateField::nNasob, fromFraction(1.5));
    case Option::opModra:
    case Option::opzelená:
    case Option::opCervena:
    case Option::opCerna:
        return setAndHide(StateField::nBarva, GraphColours::ofOption(option)->word.toString());
    case Option::op0:
        return m_store.setText(StateField::nPosunZdroje, fromInteger(0));
    case Option::op50:
        return m_store.setText(StateField::nPosunZdroje, fromInteger(50));
    // "Pomalejší" (15) waits less per step than "Pomalá" (30), as the captions suggest.
    case Option::nPomalá:
        return m_store.setText(StateField::nSpomaleni, fromInteger(SlowDown::Slowest));
    case Option::opPomalší:
        return m_store.setText(StateField::nSpomaleni, fromInteger(15));
    case Option::opRychlá:
        return m_store.setText(StateField::nSpomaleni, fromInteger(SlowDown::Fastest));
    }
}

void SettingsHandlers::scrollBarChanged(int value)
{
    m_store.setText(StateField::nSpomaleni, fromInteger(value));
}
