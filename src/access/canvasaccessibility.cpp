#include "canvasaccessibility.h"

#include "screen/canvaswidget.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

class CanvasAccessible : public QAccessibleWidget
{
public:
    explicit CanvasAccessible(QWidget *canvas)
        : QAccessibleWidget(canvas, QAccessible::Graphic)
    {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = false;
        state.readOnly = true;
        return state;
    }
};

QAccessibleInterface *canvasFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(CanvasWidget::staticMetaObject.className()) &&
        object->isWidgetType())
        return new CanvasAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

namespace CanvasAccessibility {

void setUp(QWidget &canvas, const QString &prompt)
{
    static const bool installed = [] {
        QAccessible::installFactory(canvasFactory);
        return true;
    }();
    Q_UNUSED(installed);
    canvas.setAccessibleName(prompt);
    canvas.setAccessibleDescription(
        QStringLiteral("The picture of the experiment: the sheet of glass with the light paths, "
                       "the dial of the two arrows, and the probability curves"));
}

void announce(QWidget &canvas, const QString &description)
{
    if (description.isEmpty())
        return;
    // A new name goes out with the name-change event that screen readers listen for; a
    // run that shows the same as the last one is announced all the same.
    if (canvas.accessibleName() != description) {
        canvas.setAccessibleName(description);
        return;
    }
    QAccessibleEvent event(&canvas, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace CanvasAccessibility
