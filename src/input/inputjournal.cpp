// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "inputjournal.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

namespace {

// The pointer's comings and goings: what they light up waits its turn like a click.
bool isPointerPassing(QEvent::Type type)
{
    return type == QEvent::Enter || type == QEvent::Leave || type == QEvent::HoverEnter ||
           type == QEvent::HoverLeave || type == QEvent::HoverMove;
}

bool isUserInput(const QEvent *event)
{
    if (isPointerPassing(event->type()))
        return true;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    case QEvent::MouseMove:
        // A move with a button held drags; hovering only changes highlights.
        return static_cast<const QMouseEvent *>(event)->buttons() != Qt::NoButton;
    default:
        return false;
    }
}

// A copy that keeps the positions the event had when it came. A mouse or wheel event's
// point shares its data with the pointing device, which later input moves on, so a plain
// clone would be replayed where the pointer is by then.
std::unique_ptr<QEvent> lastingCopy(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<const QMouseEvent *>(event);
        auto copy = std::make_unique<QMouseEvent>(
            mouse->type(), mouse->position(), mouse->scenePosition(), mouse->globalPosition(),
            mouse->button(), mouse->buttons(), mouse->modifiers(), mouse->pointingDevice());
        copy->setTimestamp(mouse->timestamp());
        return copy;
    }
    case QEvent::Wheel: {
        const auto *wheel = static_cast<const QWheelEvent *>(event);
        auto copy = std::make_unique<QWheelEvent>(
            wheel->position(), wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(),
            wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
            wheel->source(), wheel->pointingDevice());
        copy->setTimestamp(wheel->timestamp());
        return copy;
    }
    default:
        return std::unique_ptr<QEvent>(event->clone());
    }
}

// A replayed event comes from the program as far as the toolkit knows, and the toolkit
// moves the focus on a click only for the user's own; a replayed press does it here.
void giveFocusOnPress(QObject *receiver, const QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return;
    auto *widget = qobject_cast<QWidget *>(receiver);
    while (widget && !(widget->focusPolicy() & Qt::ClickFocus) && !widget->isWindow())
        widget = widget->parentWidget();
    if (widget && (widget->focusPolicy() & Qt::ClickFocus))
        widget->setFocus(Qt::MouseFocusReason);
}

} // namespace

InputJournal::InputJournal(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    qApp->installEventFilter(this);
    qApp->installNativeEventFilter(this);
}

InputJournal::~InputJournal()
{
    qApp->removeNativeEventFilter(this);
    qApp->removeEventFilter(this);
}

void InputJournal::startRecording()
{
    m_recording = true;
    m_firstOfThisRun = m_entries.size();
    m_focusAtStart = m_window->focusWidget();
    // The toolkit gives the focus to a clicked control before the click reaches the
    // journal; without click focus a click during the run leaves it where it is, and its
    // replay gives it at its turn.
    for (QWidget *widget : m_window->findChildren<QWidget *>()) {
        if (widget->window() == m_window && (widget->focusPolicy() & Qt::ClickFocus)) {
            m_clickFocusHeld.emplace_back(widget);
            widget->setFocusPolicy(Qt::FocusPolicy(widget->focusPolicy() & ~Qt::ClickFocus));
        }
    }
}

void InputJournal::stopRecording()
{
    if (!m_recording)
        return;
    m_recording = false;
    for (const QPointer<QWidget> &widget : m_clickFocusHeld)
        if (widget)
            widget->setFocusPolicy(Qt::FocusPolicy(widget->focusPolicy() | Qt::ClickFocus));
    m_clickFocusHeld.clear();
    // Keys given during the run go where they were aimed, whatever took the focus meanwhile
    // (the question's box, a screen reader).
    if (m_focusAtStart && m_focusAtStart->isVisible())
        m_focusAtStart->setFocus(Qt::OtherFocusReason);
    // The pointer's passing before any click is its turn now; it holds nothing back.
    const QScopedValueRollback replaying(m_replaying, true);
    while (!m_entries.empty() && m_entries.front().event &&
           isPointerPassing(m_entries.front().event->type())) {
        const Entry entry = std::move(m_entries.front());
        m_entries.pop_front();
        if (entry.receiver)
            QCoreApplication::sendEvent(entry.receiver, entry.event.get());
    }
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

std::vector<std::unique_ptr<QEvent>> InputJournal::takeKeysOfThisRun()
{
    std::vector<std::unique_ptr<QEvent>> keys;
    if (!m_recording)
        return keys;
    for (auto entry = m_entries.begin() + qsizetype(std::min(m_firstOfThisRun, m_entries.size()));
         entry != m_entries.end();) {
        const bool isKey = entry->event && (entry->event->type() == QEvent::KeyPress ||
                                            entry->event->type() == QEvent::KeyRelease);
        if (isKey) {
            keys.push_back(std::move(entry->event));
            entry = m_entries.erase(entry);
        } else {
            ++entry;
        }
    }
    return keys;
}

void InputJournal::clear()
{
    m_entries.clear();
}

void InputJournal::setQuestion(QWidget *question)
{
    m_question = question;
}

bool InputJournal::isQuestionInside() const
{
    return m_question && m_question->isVisible() && m_question->window() == m_window;
}

bool InputJournal::belongsToQuestion(const QObject *object) const
{
    auto *widget = qobject_cast<const QWidget *>(object);
    return widget && isQuestionInside() &&
           (widget == m_question || m_question->isAncestorOf(widget));
}

// Input is taken where the toolkit hands it to a control, after it has found the control
// under the pointer or with the focus, so that its own bookkeeping (which control a
// release belongs to, what lies under the pointer) follows the input as it comes.
bool InputJournal::belongsToWindow(const QObject *object) const
{
    auto *widget = qobject_cast<const QWidget *>(object);
    return widget && widget->window() == m_window;
}

// Keys go to whatever has the focus in the window when they are replayed: a Tab before
// them may have moved it. The window need not be active then; the question may have had
// the focus last.
QObject *InputJournal::receiverAtReplay(const Entry &entry) const
{
    const QEvent::Type type = entry.event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return entry.receiver;
    QWidget *focus = m_window->focusWidget();
    return focus && focus->window() == m_window ? focus : entry.receiver.data();
}

bool InputJournal::eventFilter(QObject *watched, QEvent *event)
{
    if (!isHoldingInput() || !isUserInput(event) || !belongsToWindow(watched) ||
        belongsToQuestion(watched))
        return false;
    m_entries.push_back({watched, lastingCopy(event), {}});
    scheduleReplay();
    return true;
}

bool InputJournal::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto *event = static_cast<xcb_generic_event_t *>(message);
    const int type = event->response_type & 0x7f;
    const bool sent = event->response_type & 0x80;
    if ((type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) || sent)
        return false;
    QWidget *modal = m_question;
    const QWindow *window = m_window->windowHandle();
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!m_recording || !modal || !modal->isVisible() || !modal->windowHandle() || !window || !x11)
        return false;
    // Press and release share one layout, whose first fields name the window.
    auto *key = reinterpret_cast<xcb_key_press_event_t *>(event);
    if (key->event != xcb_window_t(window->winId()))
        return false;
    // The toolkit hands a key to the window that had the keyboard last and drops it there,
    // since the box blocks that window. The box takes the keyboard now, and the key comes
    // back to it behind that change.
    const auto box = xcb_window_t(modal->windowHandle()->winId());
    xcb_connection_t *connection = x11->connection();
    xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT, box, XCB_CURRENT_TIME);
    xcb_key_press_event_t again = *key;
    again.event = box;
    again.child = XCB_NONE;
    xcb_send_event(connection, false, box, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&again));
    xcb_flush(connection);
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
        giveFocusOnPress(entry.receiver, entry.event.get());
        QCoreApplication::sendEvent(receiverAtReplay(entry), entry.event.get());
    }
    // The entry may have started a run; its end schedules the rest.
    scheduleReplay();
}
