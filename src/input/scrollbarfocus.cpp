#include "scrollbarfocus.h"

#include <QApplication>
#include <QFocusFrame>
#include <QScrollBar>

void makeScrollBarReachable(QScrollBar *scrollBar)
{
    // Tab only: a click on the bar changes the slow-down and should leave the focus where it was.
    scrollBar->setFocusPolicy(Qt::TabFocus);
    // Qt 6.4 reads Left and Right of a horizontal bar through invertedControls, which every
    // QScrollBar sets, so Right would move the thumb to the left. Without it the arrow keys
    // move the thumb the way they point (and the wheel turned up moves it right).
    scrollBar->setInvertedControls(false);
    auto *frame = new QFocusFrame(scrollBar->window());
    frame->setObjectName(scrollBar->objectName() + QStringLiteral("FocusFrame"));
    QObject::connect(qApp, &QApplication::focusChanged, frame,
                     [frame, scrollBar](QWidget *, QWidget *now) {
                         frame->setWidget(now == scrollBar ? scrollBar : nullptr);
                     });
}
