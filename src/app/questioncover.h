// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>
#include <QWidget>

class QFrame;

// The question's own window, drawn inside the program's window, for window systems that
// place a dialog where they like and give it title-bar buttons a question must not have
// (Wayland): the box sits in the middle of the window under a title of its own, and the
// rest of the window takes no click, wheel or Tab until the cover has gone. The focus
// goes back where it was.
class QuestionCover : public QWidget
{
public:
    QuestionCover(QWidget *window, const QString &title);
    ~QuestionCover() override;

    // Makes the box, a dialog, a part of the window and shows it under the title, in its
    // place at once.
    void showWith(QWidget *box);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QFrame *m_frame = nullptr;
    QPointer<QWidget> m_focusBefore;
};
