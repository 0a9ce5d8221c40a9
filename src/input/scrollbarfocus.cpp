// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scrollbarfocus.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

class MiddleClickAsLeft : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            break;
        default:
            return false;
        }
        const auto *mouse = static_cast<const QMouseEvent *>(event);
        const bool middle =
            mouse->button() == Qt::MiddleButton || (mouse->buttons() & Qt::MiddleButton);
        if (!middle)
            return false;
        Qt::MouseButtons buttons = mouse->buttons();
        if (buttons & Qt::MiddleButton)
            buttons = (buttons & ~Qt::MouseButtons(Qt::MiddleButton)) | Qt::LeftButton;
        const Qt::MouseButton button =
            mouse->button() == Qt::MiddleButton ? Qt::LeftButton : mouse->button();
        QMouseEvent left(mouse->type(), mouse->position(), mouse->scenePosition(),
                         mouse->globalPosition(), button, buttons, mouse->modifiers(),
                         mouse->pointingDevice());
        left.setTimestamp(mouse->timestamp());
        QCoreApplication::sendEvent(watched, &left);
        return true;
    }
};

} // namespace

void makeScrollBarReachable(QScrollBar *scrollBar)
{
    // Tab only: a click on the bar changes the slow-down and should leave the focus where it was.
    scrollBar->setFocusPolicy(Qt::TabFocus);
    // Qt 6.4 reads Left and Right of a horizontal bar through invertedControls, which every
    // QScrollBar sets, so Right would move the thumb to the left. Without it the arrow keys
    // move the thumb the way they point (and the wheel turned up moves it right).
    scrollBar->setInvertedControls(false);
    scrollBar->installEventFilter(new MiddleClickAsLeft(scrollBar));
}
