// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QEvent;
class QWidget;

// Keeps the user's input to one window while a run lasts and hands it over afterwards.
// A run owns the user-interface thread: input given meanwhile (mouse, keys, wheel, and
// actions that arrive from code, such as a screen reader's) is recorded in arrival order
// instead of reaching a handler, and replayed one entry at a time once the run has ended.
// An entry that starts another run holds the rest back until that run has ended too, so
// runs never nest and nothing given during one is lost. Meanwhile the window looks as
// frozen as it is: a click moves no focus and the pointer lights nothing up until that
// input's turn.
//
// Keys the window system still sends to the window after the run's question has come up
// go to the question: typed a moment after Start, before the box could take the keyboard,
// they were meant for it (see also takeKeysOfThisRun). Any other box keeps its own keys.
class InputJournal : public QObject, private QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit InputJournal(QWidget *window);
    ~InputJournal() override;

    bool isRecording() const { return m_recording; }
    void startRecording();
    // Replay begins once control is back in the event loop.
    void stopRecording();
    // True while input must wait: a run lasts, or earlier input is still to be replayed.
    bool isHoldingInput() const { return m_recording || (!m_replaying && !m_entries.empty()); }

    // Runs the action now, or records it while a run lasts.
    void whenIdle(std::function<void()> action);
    // The keys the window system brought since the run began, taken out of the journal in
    // the order they came: typed after Start, before the run's question could show, they
    // were meant for it. Keys held from before the run stay for their turn.
    std::vector<std::unique_ptr<QEvent>> takeKeysOfThisRun();
    // Drops what is still to come, as when the window has closed.
    void clear();
    // The run's question while it is shown, or null: keys sent to the window meanwhile go
    // to it. A question drawn inside the window takes its own input while the run lasts.
    void setQuestion(QWidget *question);
    // Whether a question drawn inside the window is open, which shuts the rest of it.
    bool isQuestionInside() const;
    // Whether the object is such a question or one of its controls.
    bool belongsToQuestion(const QObject *object) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Entry {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
        std::function<void()> action;
    };

    bool belongsToWindow(const QObject *object) const;
    QObject *receiverAtReplay(const Entry &entry) const;
    void scheduleReplay();
    void replayNext();

    QWidget *m_window = nullptr;
    QPointer<QWidget> m_focusAtStart;
    QPointer<QWidget> m_question;
    // Controls whose click focus waits while a run lasts.
    std::vector<QPointer<QWidget>> m_clickFocusHeld;
    std::deque<Entry> m_entries;
    // Entries from here on came while the present run lasted.
    std::size_t m_firstOfThisRun = 0;
    bool m_recording = false;
    bool m_replayScheduled = false;
    bool m_replaying = false;
};
