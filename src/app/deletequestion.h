// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "run/yesnoquestion.h"

#include <QPointer>

class InputJournal;
class QWidget;

// The modal Yes/No box. It has no Escape button and ignores close requests: the run
// needs a real answer. Keys typed after Start, before the box could show, answer it as if
// typed into it.
class DeleteQuestion : public YesNoQuestion
{
public:
    // A box of its own is centred on the window by the window manager. Where the window
    // system places dialogs itself and gives each title bar buttons for minimising and
    // maximising (Wayland), the box is drawn inside the window instead.
    enum class Placement { OwnWindow, InsideWindow };
    static Placement placementHere();

    DeleteQuestion(QWidget *parent, InputJournal *journal, Placement placement = placementHere());

    Answer ask(const QString &text) override;

private:
    QPointer<QWidget> m_parent;
    QPointer<InputJournal> m_journal;
    Placement m_placement;
};
