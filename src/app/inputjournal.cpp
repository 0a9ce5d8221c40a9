#include "inputjournal.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

bool isUserInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;
    case QEvent::MouseMove:
        // A move with a button held drags; hovering only changes highlights.
        return static_cast<const QMouseEvent *>(event)->buttons() != Qt::NoButton;
    default:
        return false;
    }
}

} // namespace

InputJournal::InputJournal(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    qApp->installEventFilter(this);
}

InputJournal::~InputJournal()
{
    qApp->removeEventFilter(this);
}

void InputJournal::startRecording()
{
    m_recording = true;
}

void InputJournal::stopRecording()
{
    if (!m_recording)
        return;
    m_recording = false;
    // Input the window system queued while the run held the thread is looked at again
    // only when the event loop next wakes; without this it would wait for the next event.
    if (auto *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
    scheduleReplay();
}

void InputJournal::whenIdle(std::function<void()> action)
{
    if (isHoldingInput()) {
        m_entries.push_back({nullptr, nullptr, std::move(action)});
        scheduleReplay();
        return;
    }
    action();
}

void InputJournal::clear()
{
    m_entries.clear();
}

bool InputJournal::belongsToWindow(const QObject *object) const
{
    if (auto *widget = qobject_cast<const QWidget *>(object))
        return widget->window() == m_window;
    return object == m_window->windowHandle();
}

bool InputJournal::eventFilter(QObject *watched, QEvent *event)
{
    if (!isHoldingInput() || !isUserInput(event) || !belongsToWindow(watched))
        return false;
    m_entries.push_back({watched, std::unique_ptr<QEvent>(event->clone()), {}});
    scheduleReplay();
    return true;
}

void InputJournal::scheduleReplay()
{
    if (m_recording || m_replayScheduled || m_entries.empty())
        return;
    m_replayScheduled = true;
    QTimer::singleShot(0, this, &InputJournal::replayNext);
}

void InputJournal::replayNext()
{
    m_replayScheduled = false;
    if (m_recording || m_entries.empty())
        return;
    Entry entry = std::move(m_entries.front());
    m_entries.pop_front();
    const QScopedValueRollback replaying(m_replaying, true);
    if (entry.action) {
        entry.action();
    } else if (entry.receiver) {
        // notify() rather than sendEvent(), which would mark the event as coming from the
        // program: the toolkit gives the focus on a click only for the user's own input.
        QCoreApplication::instance()->notify(entry.receiver, entry.event.get());
    }
    // The entry may have started a run; its end schedules the rest.
    scheduleReplay();
}
