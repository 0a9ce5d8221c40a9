// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "questioncover.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

QuestionCover::QuestionCover(QWidget *window, const QString &title)
    : QWidget(window)
    , m_frame(new QFrame(this))
    , m_focusBefore(window->focusWidget())
{
    setObjectName(QStringLiteral("questionCover"));
    setGeometry(window->rect());
    window->installEventFilter(this);

    m_frame->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    m_frame->setAutoFillBackground(true);
    // A screen reader names it as it would the box's own window.
    m_frame->setAccessibleName(title);
    auto *caption = new QLabel(title, m_frame);
    caption->setObjectName(QStringLiteral("questionTitle"));
    caption->setAlignment(Qt::AlignCenter);
    caption->setContentsMargins(6, 3, 6, 3);
    caption->setAutoFillBackground(true);
    caption->setForegroundRole(QPalette::HighlightedText);
    caption->setBackgroundRole(QPalette::Highlight);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);

    auto *column = new QVBoxLayout(m_frame);
    column->setContentsMargins(m_frame->frameWidth(), m_frame->frameWidth(), m_frame->frameWidth(),
                               m_frame->frameWidth());
    column->setSpacing(0);
    column->addWidget(caption);
    auto *centre = new QGridLayout(this);
    centre->addWidget(m_frame, 0, 0, Qt::AlignCenter);
    raise();
}

QuestionCover::~QuestionCover()
{
    hide();
    if (m_focusBefore)
        m_focusBefore->setFocus(Qt::OtherFocusReason);
}

void QuestionCover::showWith(QWidget *box)
{
    box->setWindowFlags(Qt::Widget);
    // Placed by the layout, not centred on the screen as a dialog is.
    box->setAttribute(Qt::WA_Moved);
    m_frame->layout()->addWidget(box);
    show();
    box->show();
    // A message box takes its size as it shows; laid out only when the event loop came to it,
    // the box would first take input at the window's corner.
    layout()->activate();
}

bool QuestionCover::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        // Outside the box, as over a window a modal box blocks, nothing happens: not here,
        // nor, passed on, in the window after the run.
        event->accept();
        return true;
    default:
        return QWidget::event(event);
    }
}

bool QuestionCover::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

// Tab and Shift+Tab go round the box's own controls.
bool QuestionCover::focusNextPrevChild(bool next)
{
    QWidget *const from = window()->focusWidget();
    if (!from)
        return false;
    for (QWidget *candidate = from;;) {
        candidate = next ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (candidate == from)
            return true;
        if (isAncestorOf(candidate) && candidate->isVisible() && candidate->isEnabled() &&
            (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
}
