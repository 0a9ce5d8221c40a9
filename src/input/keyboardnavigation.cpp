// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "keyboardnavigation.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

KeyboardNavigation::KeyboardNavigation(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    for (QWidget *child : window->findChildren<QWidget *>())
        if ((child->focusPolicy() & Qt::TabFocus) || groupOf(child))
            child->installEventFilter(this);
}

QButtonGroup *KeyboardNavigation::groupOf(const QWidget *widget) const
{
    auto *button = qobject_cast<const QAbstractButton *>(widget);
    return button ? button->group() : nullptr;
}

// The toolkit takes Tab focus from a group's unchosen options; the group as a whole is
// one stop all the same.
bool KeyboardNavigation::isTabStop(const QWidget *widget) const
{
    return widget->window() == m_window && widget->isVisible() && widget->isEnabled() &&
           ((widget->focusPolicy() & Qt::TabFocus) || groupOf(widget));
}

QWidget *KeyboardNavigation::nextTabStop(QWidget *from, bool forward) const
{
    QButtonGroup *const fromGroup = groupOf(from);
    for (QWidget *next = from;;) {
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
        if (next == from)
            return from;
        if (!isTabStop(next))
            continue;
        QButtonGroup *group = groupOf(next);
        if (!group)
            return next;
        if (group == fromGroup)
            continue;
        QAbstractButton *chosen = group->checkedButton();
        return chosen && isTabStop(chosen) ? chosen : next;
    }
}

bool KeyboardNavigation::chooseNeighbour(QWidget *option, bool forward) const
{
    QButtonGroup *group = groupOf(option);
    if (!group)
        return false;
    const QList<QAbstractButton *> options = group->buttons();
    const auto count = options.size();
    auto index = options.indexOf(static_cast<QAbstractButton *>(option));
    for (qsizetype step = 1; step < count; ++step) {
        index = (index + (forward ? 1 : count - 1)) % count;
        QAbstractButton *next = options.at(index);
        if (next->isVisible() && next->isEnabled()) {
            next->setFocus(Qt::TabFocusReason);
            next->click();
            return true;
        }
    }
    return true;
}

// A key held down comes again and again, each time as a release and a press at one moment;
// the toolkit flags such a press only when both have arrived together.
bool KeyboardNavigation::isRepeat(const QKeyEvent &key)
{
    if (key.type() == QEvent::KeyRelease) {
        m_lastRelease = {key.key(), key.timestamp()};
        return false;
    }
    return key.isAutoRepeat() ||
           (key.timestamp() != 0 && m_lastRelease == std::pair(key.key(), key.timestamp()));
}

bool KeyboardNavigation::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool repeat = isRepeat(*key);
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;

    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        if (modifiers & ~Qt::ShiftModifier)
            return false;
        const bool forward = key->key() == Qt::Key_Tab && modifiers == Qt::NoModifier;
        QWidget *next = nextTabStop(widget, forward);
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A held Enter presses once, as a held space does: its repeats would start run after
        // run, and a key whose release the window system never saw (sent to a question that
        // had gone) repeats for ever.
        if (auto *button = qobject_cast<QPushButton *>(widget); button && !modifiers) {
            if (!repeat)
                button->click();
            return true;
        }
        return false;
    case Qt::Key_Up:
    case Qt::Key_Left:
        return !modifiers && chooseNeighbour(widget, false);
    case Qt::Key_Down:
    case Qt::Key_Right:
        return !modifiers && chooseNeighbour(widget, true);
    default:
        return false;
    }
}
