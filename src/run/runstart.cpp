// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runstart.h"

#include "canvas/canvas.h"
#include "run/scene.h"
#include "run/yesnoquestion.h"
#include "settings/settingsstore.h"
#include "settings/statewords.h"

namespace {

// Rows are wiped from the bottom up, one line per row y = AreaHeight - t; rows above the
// canvas (t of 582 and more) are drawn all the same.
void clearRows(Canvas &canvas, int firstT, int lastT, double left, double right)
{
    const auto grey = StrokeColour::backgroundGrey();
    for (int t = firstT; t <= lastT; ++t) {
        const double y = Scene::AreaHeight - t;
        canvas.line(left, y, right, y, grey);
    }
}

} // namespace

bool startRun(SettingsStore &settings, Canvas &canvas, YesNoQuestion &question)
{
    canvas.setPenWidth(1);
    bool curvesWiped = true;
    if (settings.text(StateField::nStartuje) != FirstRunFlag::Ano) {
        curvesWiped =
            question.ask(QStringLiteral("Delete probability")) != YesNoQuestion::Answer::No;
        if (curvesWiped)
            clearRows(canvas, 1, 600, 100, Scene::AreaWidth - 5);
    }
    settings.setText(StateField::nStartuje, FirstRunFlag::Ne.toString());
    clearRows(canvas, 1, 500, 20, Scene::AreaWidth / 2);
    clearRows(canvas, 400, 600, 100, Scene::AreaWidth - 5);
    return curvesWiped;
}
