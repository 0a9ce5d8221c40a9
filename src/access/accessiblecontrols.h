// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class InputJournal;
class QWidget;

// Lets a screen reader reach the window's controls as a person does: only what is shown,
// and every press or choice through the window's input journal, the same gate as a click,
// so that one given during a run waits for its end and one given while the question is
// open is refused.
void installAccessibleControls(QWidget &window, InputJournal &journal);

// A hidden text field of the window's own that no screen reader hears of, whatever text it
// is given. Called before the field has any text: its interface is made when it first has.
void keepFromScreenReaders(QWidget *field);

// A screen reader lists the window's controls in Tab order, beginning at this one.
void readFromFirstTabStop(QWidget *firstStop);
