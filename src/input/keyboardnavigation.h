// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <utility>

class QButtonGroup;
class QKeyEvent;
class QWidget;

// The keys of a classic desktop window: Tab into an option group lands on its chosen
// option and Tab leaves the group; the arrow keys choose the next or previous option of a
// group in tab order; Enter presses the push button that has the focus, and no other, once
// however long it is held.
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
    bool isRepeat(const QKeyEvent &key);

    QWidget *m_window = nullptr;
    // The key last released and when.
    std::pair<int, quint64> m_lastRelease{0, 0};
};
