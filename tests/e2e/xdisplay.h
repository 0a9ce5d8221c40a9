// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// Xlib's own headers stay in the .cpp: their macros (Bool, Status, None) break Qt's.
struct _XDisplay;
using Window = unsigned long;
using Pixmap = unsigned long;

// The test's own connection to the X server that the program under test draws on. It
// reads the screen back and finds and closes top-level windows the way a window manager
// would; everything a user does goes through xdotool instead.
class XDisplay
{
public:
    // Opens $DISPLAY.
    XDisplay();
    bool isOpen() const { return bool(m_display); }

    struct TopLevel {
        Window id = 0;
        QString title;
        QRect geometry; // on the root window
        // The window manager's frame around it on the root window; the geometry itself
        // where no window manager frames it.
        QRect frame;
    };

    // The mapped children of the root window, bottom first; where a window manager frames
    // a window, the window inside the frame.
    std::vector<TopLevel> mappedTopLevels() const;
    std::optional<TopLevel> findMapped(const QString &title) const;

    // The pixels of rect as the screen shows them now; a null image when that fails.
    QImage grab(const QRect &rect) const;
    QSize screenSize() const;

    // Keeps what the window shows beyond its end: the window is redirected off-screen
    // (automatic redirection, so the screen still shows it) and its backing pixmap named.
    // The X server keeps a named pixmap, contents and all, after the window is gone.
    // Returns 0 when the server lacks the Composite extension.
    Pixmap holdContents(Window window) const;
    QImage readPixmap(Pixmap pixmap, QSize size) const;
    void freePixmap(Pixmap pixmap) const;

    // The clipboard's content in the given format (a MIME type such as image/png), as an
    // application pasting it would ask for it; empty when there is none within timeoutMs.
    QByteArray clipboard(const char *format, int timeoutMs) const;

    // Asks for the window at this place on the root window, as a person dragging it would
    // have it; a window manager decides.
    bool moveWindow(Window window, QPoint topLeft) const;

    // From now on keeps the startup notification messages that programs send to the root
    // window (_NET_STARTUP_INFO), as a desktop's launcher listens for them.
    void listenForStartupMessages() const;
    // The messages received since, each whole ("remove: ID=..."): those there once the first
    // has come, or none within timeoutMs.
    std::vector<QByteArray> startupMessages(int timeoutMs) const;

    // What a window manager sends when the user closes a window from its title bar.
    void requestClose(Window window) const;

private:
    QString titleOf(Window window) const;
    // The first window at or below this one that has a title, at most depth levels down.
    std::optional<TopLevel> titled(Window window, int depth) const;
    QImage read(unsigned long drawable, const QRect &rect) const;

    struct Closer {
        void operator()(_XDisplay *display) const;
    };
    std::unique_ptr<_XDisplay, Closer> m_display;
};
