// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessiblecontrols.h"

#include "input/inputjournal.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGroupBox>
#include <QPointer>
#include <QRadioButton>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The windows whose controls a screen reader reaches this way, each with its journal.
struct Reachable {
    QPointer<QWidget> window;
    QPointer<InputJournal> journal;
};
std::vector<Reachable> &reachable()
{
    static std::vector<Reachable> windows;
    return windows;
}

InputJournal *journalOf(const QWidget *widget)
{
    for (const Reachable &entry : reachable())
        if (entry.window && entry.window == widget->window())
            return entry.journal;
    return nullptr;
}

// A window under a modal box takes no input, from any path; nor does one with the question
// open inside it, but for the question itself.
bool isBlocked(const QWidget *widget)
{
    const QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != widget->window())
        return true;
    const InputJournal *journal = journalOf(widget);
    return journal && journal->isQuestionInside() && !journal->belongsToQuestion(widget);
}

class AccessibleButton : public QAccessibleWidget
{
public:
    explicit AccessibleButton(QAbstractButton *button)
        : QAccessibleWidget(button, qobject_cast<QRadioButton *>(button) ? QAccessible::RadioButton
                                                                         : QAccessible::Button)
    {}

    QString text(QAccessible::Text type) const override
    {
        QString text = QAccessibleWidget::text(type);
        if (type == QAccessible::Name && text.isEmpty())
            text = button()->text().remove(QLatin1Char('&'));
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = button()->isCheckable();
        state.checked = button()->isChecked();
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList(button()->isCheckable() ? toggleAction() : pressAction()) +
               QAccessibleWidget::actionNames();
    }

    // Qt names an option by its group as well, through a label relation to the group box;
    // the group is the option's parent and is already spoken with its own name, so a screen
    // reader said the group's name twice on entering it.
    QList<std::pair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto relations = QAccessibleWidget::relations(match);
        relations.removeIf([this](const auto &relation) {
            return relation.second == QAccessible::Label && relation.first &&
                   relation.first->object() == button()->parentWidget();
        });
        return relations;
    }

    void doAction(const QString &name) override
    {
        if (name != pressAction() && name != toggleAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        QAbstractButton *target = button();
        if (!target->isEnabled() || !target->isVisible() || isBlocked(target))
            return;
        // An option's toggle chooses it, as a click does; a click is what runs its handler.
        InputJournal *journal = journalOf(target);
        if (journal && journal->isHoldingInput() && !journal->belongsToQuestion(target)) {
            journal->whenIdle([button = QPointer(target)] {
                if (button)
                    button->click();
            });
        } else if (name == toggleAction()) {
            target->click();
        } else {
            // The reader waits for the reply; a run started right here would hold it for
            // the whole sweep, so the press lands just after.
            target->animateClick();
        }
    }

private:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
};

const char *const FirstStopProperty = "quorvaneFirstTabStop";

// A window or frame whose hidden children, such as the state fields and the hidden option
// groups, do not exist for a screen reader.
class AccessibleContainer : public QAccessibleWidget
{
public:
    AccessibleContainer(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {}

    QString text(QAccessible::Text type) const override
    {
        QString text = QAccessibleWidget::text(type);
        if (type == QAccessible::Name && text.isEmpty())
            if (auto *frame = qobject_cast<QGroupBox *>(widget()))
                text = frame->title();
        return text;
    }

    int childCount() const override { return int(shownChildren().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = shownChildren();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return int(shownChildren().indexOf(qobject_cast<QWidget *>(child->object())));
    }

private:
    QList<QWidget *> shownChildren() const
    {
        QWidget *container = widget();
        QList<QWidget *> children;
        for (QObject *object : container->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && !child->isHidden())
                children.append(child);
        }
        if (!container->isWindow()) {
            // A group's options as a reader sees them: row by row, left to right.
            std::stable_sort(children.begin(), children.end(), [](QWidget *a, QWidget *b) {
                return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
            });
            return children;
        }
        // The window's controls in Tab order, round the ring from the first stop, then what
        // never takes the focus, as created.
        const QString firstName = container->property(FirstStopProperty).toString();
        auto *first = firstName.isEmpty() ? nullptr : container->findChild<QWidget *>(firstName);
        if (!first)
            return children;
        QList<QWidget *> ordered;
        QWidget *next = first;
        do {
            QWidget *child = next;
            while (child && child->parentWidget() != container)
                child = child->parentWidget();
            if ((next->focusPolicy() & Qt::TabFocus) && children.contains(child) &&
                !ordered.contains(child))
                ordered.append(child);
            next = next->nextInFocusChain();
        } while (next != first);
        for (QWidget *child : children)
            if (!ordered.contains(child))
                ordered.append(child);
        return ordered;
    }
};

// A state field is hidden for good and holds the program's own words ("Ano", "zelená"):
// without a text interface its changes reach no screen reader.
class SilentField : public QAccessibleWidget
{
public:
    explicit SilentField(QWidget *field)
        : QAccessibleWidget(field, QAccessible::EditableText)
    {}
};

const char *const SilentProperty = "quorvaneSilent";

bool isSilent(const QObject *object)
{
    return object && object->property(SilentProperty).toBool();
}

// A line edit tells of every change of its text and caret, whatever its interface says; a
// silent field's news is dropped here, before it reaches the bridge to the screen readers
// (which warned of each caret move from an object with no text interface).
QAccessible::UpdateHandler nextUpdateHandler = nullptr;

void passOnUpdate(QAccessibleEvent *event);

void dropSilentFieldsUpdates(QAccessibleEvent *event)
{
    if (isSilent(event->object()))
        return;
    passOnUpdate(event);
}

void passOnUpdate(QAccessibleEvent *event)
{
    if (nextUpdateHandler) {
        nextUpdateHandler(event);
        return;
    }
    // Qt's own way on, the platform's bridge, is taken only while no handler is installed.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(dropSilentFieldsUpdates);
}

QAccessibleInterface *accessibleControl(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !journalOf(widget))
        return nullptr;
    if (className == QLatin1String("QPushButton") || className == QLatin1String("QRadioButton"))
        return new AccessibleButton(static_cast<QAbstractButton *>(widget));
    if (className == QLatin1String("QLineEdit") && isSilent(widget))
        return new SilentField(widget);
    if (className == QLatin1String("QGroupBox"))
        return new AccessibleContainer(widget, QAccessible::Grouping);
    if (widget->isWindow())
        return new AccessibleContainer(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibleControls(QWidget &window, InputJournal &journal)
{
    auto &windows = reachable();
    std::erase_if(windows, [](const Reachable &entry) { return !entry.window; });
    windows.push_back({&window, &journal});
    static bool installed = false;
    if (std::exchange(installed, true))
        return;
    QAccessible::installFactory(accessibleControl);
    nextUpdateHandler = QAccessible::installUpdateHandler(dropSilentFieldsUpdates);
}

void keepFromScreenReaders(QWidget *field)
{
    field->setProperty(SilentProperty, true);
}

void readFromFirstTabStop(QWidget *firstStop)
{
    // By name, so that nothing points at a control while the window takes them down.
    firstStop->window()->setProperty(FirstStopProperty, firstStop->objectName());
}
