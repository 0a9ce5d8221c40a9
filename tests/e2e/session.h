// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "xdisplay.h"

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// One launch of the program under test on the test's X server, driven as a person would
// drive it: real pointer and key events through xdotool, answers read off the screen.
//
// Positions are in the window's logical pixels; with a screen scale or zoom they are
// multiplied into device pixels, the unit of xdotool and of every screenshot, and counted
// from where the picture stands on the screen (off the corner only in full screen).
class Session
{
public:
    // shotPrefix names the screenshots that save() writes.
    explicit Session(QString shotPrefix, double scale = 1);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // An environment variable for the program, and its arguments, before start().
    void setEnvironment(const QString &name, const QString &value);
    void setArguments(const QStringList &arguments) { m_process.setArguments(arguments); }
    // Where the picture's top-left corner stands on the screen, in device pixels.
    void setOrigin(QPoint device) { m_origin = device; }
    // Starts the program and waits until its window shows the prompt.
    bool start();
    // Why the last call that returned false or an empty value failed.
    const QString &error() const { return m_error; }

    double scale() const { return m_scale; }
    XDisplay &display() { return m_display; }
    Window window() const { return m_window; }
    qint64 pid() const { return m_process.processId(); }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    // The client area as the screen shows it now (device pixels).
    QImage grab() const;
    // Stores the picture beside the build for a person to look at; returns it.
    QImage save(const QImage &image, const QString &step) const;
    QImage grabAndSave(const QString &step) { return save(grab(), step); }

    void click(QPoint logical);
    // Moves the pointer there without a click.
    void movePointer(QPoint logical);
    void clickDevice(QPoint device);
    // Keys go to the window under the pointer and the one with the input focus: the
    // pointer is moved onto the target first and the target given the focus, since
    // without a window manager nothing else would. The keys follow each other delayMs apart.
    void key(const QString &keys, std::optional<XDisplay::TopLevel> target = std::nullopt,
             int delayMs = 30);
    // Types the text into the target as key() sends keys.
    void type(const QString &text, std::optional<XDisplay::TopLevel> target = std::nullopt);

    // Polls the screen until test() holds for a screenshot, at most timeoutMs; returns the
    // screenshot that passed, or a null image (and the last one saved as "<what>-timeout").
    QImage waitFor(const std::function<bool(const QImage &)> &test, const QString &what,
                   int timeoutMs = 60000);
    // Waits until a run is seen under way and then until it has ended and the screen stands
    // still. Returns the final screenshot, saved as step.
    QImage waitForRunEnd(const QString &step);
    // Waits until the picture is unchanged over a short while.
    QImage waitUntilSteady(const QString &what);
    // Waits for the question box "Delete probability", the one other window titled with the
    // program's name.
    std::optional<XDisplay::TopLevel> waitForQuestion();
    // The top-level window with the question, if it is shown now.
    std::optional<XDisplay::TopLevel> question() const;

    // From now on keeps what the main window shows, even after it is gone and even where
    // another window covers it; false when the X server cannot.
    bool holdWindowContents();
    // What the main window showed last, as held; a null image when nothing is held.
    QImage heldWindowContents() const;

    // Waits for the program to end; its exit code, or nothing when it crashed or hung.
    std::optional<int> waitForExit(int timeoutMs = 60000);
    // Resident memory of the program in KiB, from /proc.
    qint64 residentKiB() const;

    // Whatever the program printed on stderr so far.
    QString programOutput();

    static const QString MainTitle;
    static const QString QuestionTitle;

private:
    void focus(std::optional<XDisplay::TopLevel> target);
    bool xdotool(const QStringList &arguments);
    void fail(const QString &message) { m_error = message; }

    QString m_shotPrefix;
    double m_scale;
    QPoint m_origin;
    XDisplay m_display;
    QProcess m_process;
    Window m_window = 0;
    Pixmap m_held = 0;
    QString m_error;
    QString m_output;
};
