// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "canvasaccessibility.h"

#include "screen/canvaswidget.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

const QLatin1String NotificationName("announcement");
const char *const PositionProperty = "quorvanePosition";

class CanvasAccessible : public QAccessibleWidget
{
public:
    explicit CanvasAccessible(QWidget *canvas)
        : QAccessibleWidget(canvas, QAccessible::Graphic)
    {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        // Focusable only while the curves are explored, when it holds the keyboard.
        state.focusable = widget()->hasFocus();
        state.readOnly = true;
        return state;
    }

    // The explored row's numbers.
    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return widget()->property(PositionProperty).toString();
        return QAccessibleWidget::text(type);
    }

    // An image: the layer that shows the numbers above it is no thing of its own.
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
};

QAccessibleInterface *canvasFactory(const QString &className, QObject *object)
{
    if (!object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String(CanvasWidget::staticMetaObject.className()))
        return new CanvasAccessible(widget);
    if (className == QLatin1String("QWidget") && object->objectName() == NotificationName)
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

} // namespace

namespace CanvasAccessibility {

void setUp(QWidget &canvas, const QString &description)
{
    static const bool installed = [] {
        QAccessible::installFactory(canvasFactory);
        return true;
    }();
    Q_UNUSED(installed);
    canvas.setAccessibleName(QStringLiteral("Picture of the experiment"));
    describe(canvas, description);
}

void describe(QWidget &canvas, const QString &description)
{
    canvas.setAccessibleDescription(description);
}

void explore(QWidget &canvas, const QString &position, const QString &description)
{
    canvas.setProperty(PositionProperty, position);
    // Screen readers speak a change of the focused object's description; the row comes first,
    // and every curve stays there for a reader who asks where the focus is.
    describe(canvas,
             position.isEmpty() ? description : position + QStringLiteral(". ") + description);
}

void announce(QWidget &window, const QString &text)
{
    // Screen readers speak a notification as it appears, and may remember an object's name:
    // each text appears as a notification of its own, the same text again included.
    delete window.findChild<QWidget *>(NotificationName, Qt::FindDirectChildrenOnly);
    auto *notification = new QWidget(&window);
    notification->setObjectName(NotificationName);
    notification->setAccessibleName(text);
    // Shown, so that screen readers hear of it, but without a pixel or a click of its own.
    notification->setAttribute(Qt::WA_TransparentForMouseEvents);
    notification->setFocusPolicy(Qt::NoFocus);
    notification->setGeometry(0, 0, 0, 0);
    notification->show();
}

} // namespace CanvasAccessibility
