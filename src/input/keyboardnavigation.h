// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QButtonGroup;
class QWidget;

// The keys of a classic desktop window: Tab into an option group lands on its chosen
// option and Tab leaves the group; the arrow keys choose the next or previous option of a
// group in tab order; Enter presses the push button that has the focus, and no other.
class KeyboardNavigation : public QObject
{
    Q_OBJECT

public:
    explicit KeyboardNavigation(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QButtonGroup *groupOf(const QWidget *widget) const;
    bool isTabStop(const QWidget *widget) const;
    QWidget *nextTabStop(QWidget *from, bool forward) const;
    bool chooseNeighbour(QWidget *option, bool forward) const;

    QWidget *m_window = nullptr;
};
