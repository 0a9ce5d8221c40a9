// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "xdisplay.h"

#include <QDeadlineTimer>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xcomposite.h>

namespace {

struct XFreeDeleter {
    void operator()(void *p) const
    {
        if (p)
            XFree(p);
    }
};

struct ImageDeleter {
    void operator()(XImage *image) const { XDestroyImage(image); }
};

// Windows come and go while the test looks at them (the question box, a program that has
// just ended); the error that a request about a vanished window brings must not end the
// test, as Xlib's default handler would. The failing call reports it by its result.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

int shiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

} // namespace

void XDisplay::Closer::operator()(_XDisplay *display) const
{
    XCloseDisplay(display);
}

XDisplay::XDisplay()
    : m_display(XOpenDisplay(nullptr))
{
    if (m_display)
        XSetErrorHandler(&ignoreError);
}

QString XDisplay::titleOf(Window window) const
{
    Display *d = m_display.get();
    const Atom netWmName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(d, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
        if (type == utf8 && format == 8)
            return QString::fromUtf8(reinterpret_cast<const char *>(data), int(count));
    }
    char *name = nullptr;
    if (XFetchName(d, window, &name) && name) {
        std::unique_ptr<char, XFreeDeleter> owned(name);
        return QString::fromLocal8Bit(name);
    }
    return {};
}

std::optional<XDisplay::TopLevel> XDisplay::titled(Window window, int depth) const
{
    Display *d = m_display.get();
    XWindowAttributes attributes{};
    // A window may vanish between the query and this call; X then reports an error
    // that the default handler would turn into an exit, so errors are trapped above.
    if (!XGetWindowAttributes(d, window, &attributes))
        return std::nullopt;
    if (attributes.map_state != IsViewable || attributes.c_class != InputOutput)
        return std::nullopt;
    const QString title = titleOf(window);
    if (!title.isEmpty() || depth == 0) {
        int x = 0;
        int y = 0;
        Window child = 0;
        XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child);
        const QRect geometry(x, y, attributes.width, attributes.height);
        return TopLevel{window, title, geometry, geometry};
    }
    Window root = 0;
    Window parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, window, &root, &parent, &children, &count))
        return std::nullopt;
    std::unique_ptr<Window, XFreeDeleter> owned(children);
    for (unsigned int i = 0; i < count; ++i)
        if (const auto found = titled(children[i], depth - 1); found && !found->title.isEmpty())
            return found;
    return std::nullopt;
}

std::vector<XDisplay::TopLevel> XDisplay::mappedTopLevels() const
{
    Display *d = m_display.get();
    Window root = 0;
    Window parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    std::vector<TopLevel> result;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count))
        return result;
    std::unique_ptr<Window, XFreeDeleter> owned(children);
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(d, children[i], &attributes))
            continue;
        if (attributes.map_state != IsViewable || attributes.c_class != InputOutput)
            continue;
        const QRect frame(attributes.x, attributes.y,
                          attributes.width + 2 * attributes.border_width,
                          attributes.height + 2 * attributes.border_width);
        // A window manager's frame has no title; the program's window lies a level or two
        // inside it.
        std::optional<TopLevel> window = titled(children[i], 3);
        if (!window)
            window = TopLevel{children[i], QString(), frame, frame};
        window->frame = frame;
        result.push_back(*window);
    }
    return result;
}

std::optional<XDisplay::TopLevel> XDisplay::findMapped(const QString &title) const
{
    for (const TopLevel &window : mappedTopLevels()) {
        if (window.title == title)
            return window;
    }
    return std::nullopt;
}

bool XDisplay::moveWindow(Window window, QPoint topLeft) const
{
    Display *d = m_display.get();
    const bool asked = XMoveWindow(d, window, topLeft.x(), topLeft.y());
    XFlush(d);
    return asked;
}

QSize XDisplay::screenSize() const
{
    Display *d = m_display.get();
    return {DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d))};
}

QImage XDisplay::grab(const QRect &rect) const
{
    Display *d = m_display.get();
    return read(DefaultRootWindow(d), rect.intersected(QRect(QPoint(0, 0), screenSize())));
}

QImage XDisplay::read(unsigned long drawable, const QRect &clipped) const
{
    Display *d = m_display.get();
    std::unique_ptr<XImage, ImageDeleter> image(
        XGetImage(d, drawable, clipped.x(), clipped.y(), unsigned(clipped.width()),
                  unsigned(clipped.height()), AllPlanes, ZPixmap));
    if (!image)
        return {};
    if (!image->red_mask && !image->green_mask && !image->blue_mask) {
        // An image of a pixmap carries no colour masks: a pixmap has no visual of its own.
        // The pixmaps read here hold windows of the screen's default visual.
        const Visual *visual = DefaultVisual(d, DefaultScreen(d));
        image->red_mask = visual->red_mask;
        image->green_mask = visual->green_mask;
        image->blue_mask = visual->blue_mask;
    }
    const int red = shiftOf(image->red_mask);
    const int green = shiftOf(image->green_mask);
    const int blue = shiftOf(image->blue_mask);
    QImage result(clipped.size(), QImage::Format_RGB32);
    if (image->bits_per_pixel == 32 && image->red_mask == 0xff0000 && image->green_mask == 0xff00 &&
        image->blue_mask == 0xff && image->byte_order == LSBFirst) {
        // Xvfb's usual 24-bit visual has QImage's own layout: copy rows as they are.
        for (int y = 0; y < clipped.height(); ++y) {
            const auto *source =
                reinterpret_cast<const quint32 *>(image->data + y * image->bytes_per_line);
            auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
            for (int x = 0; x < clipped.width(); ++x)
                line[x] = 0xff000000u | (source[x] & 0xffffffu);
        }
        return result;
    }
    for (int y = 0; y < clipped.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < clipped.width(); ++x) {
            const unsigned long pixel = XGetPixel(image.get(), x, y);
            line[x] = qRgb(int((pixel & image->red_mask) >> red),
                           int((pixel & image->green_mask) >> green),
                           int((pixel & image->blue_mask) >> blue));
        }
    }
    return result;
}

void XDisplay::requestClose(Window window) const
{
    Display *d = m_display.get();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window, False, NoEventMask, &event);
    XFlush(d);
}

Pixmap XDisplay::holdContents(Window window) const
{
    Display *d = m_display.get();
    int eventBase = 0;
    int errorBase = 0;
    if (!XCompositeQueryExtension(d, &eventBase, &errorBase))
        return 0;
    XCompositeRedirectWindow(d, window, CompositeRedirectAutomatic);
    const Pixmap pixmap = XCompositeNameWindowPixmap(d, window);
    XSync(d, False);
    return pixmap;
}

QImage XDisplay::readPixmap(Pixmap pixmap, QSize size) const
{
    return read(pixmap, QRect(QPoint(0, 0), size));
}

void XDisplay::freePixmap(Pixmap pixmap) const
{
    XFreePixmap(m_display.get(), pixmap);
    XFlush(m_display.get());
}

void XDisplay::listenForStartupMessages() const
{
    Display *display = m_display.get();
    // Programs send them with the mask of property changes, to whoever selected it.
    XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
    XSync(display, False);
}

std::vector<QByteArray> XDisplay::startupMessages(int timeoutMs) const
{
    Display *display = m_display.get();
    const Atom begin = XInternAtom(display, "_NET_STARTUP_INFO_BEGIN", False);
    const Atom more = XInternAtom(display, "_NET_STARTUP_INFO", False);
    std::vector<QByteArray> messages;
    QByteArray growing;
    const QDeadlineTimer deadline(timeoutMs);
    // A message comes in pieces of 20 bytes, the last ended by a zero byte.
    while (messages.empty() && !deadline.hasExpired()) {
        XEvent event;
        if (!XCheckTypedEvent(display, ClientMessage, &event)) {
            QThread::msleep(20);
            continue;
        }
        const XClientMessageEvent &piece = event.xclient;
        if (piece.format != 8 || (piece.message_type != begin && piece.message_type != more))
            continue;
        if (piece.message_type == begin)
            growing.clear();
        const QByteArray bytes(piece.data.b, sizeof piece.data.b);
        const qsizetype end = bytes.indexOf('\0');
        growing += bytes.left(end < 0 ? bytes.size() : end);
        if (end >= 0) {
            messages.push_back(growing);
            growing.clear();
        }
    }
    return messages;
}

QByteArray XDisplay::clipboard(const char *format, int timeoutMs) const
{
    Display *display = m_display.get();
    const Window requestor =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom property = XInternAtom(display, "QUORVANE_PASTE", False);
    XConvertSelection(display, XInternAtom(display, "CLIPBOARD", False),
                      XInternAtom(display, format, False), property, requestor, CurrentTime);
    XFlush(display);

    QByteArray data;
    const QDeadlineTimer deadline(timeoutMs);
    XEvent event;
    bool answered = false;
    while (!(answered = XCheckTypedWindowEvent(display, requestor, SelectionNotify, &event)) &&
           !deadline.hasExpired())
        QThread::msleep(20);
    if (answered && event.xselection.property != 0) {
        Atom type = 0;
        int bits = 0;
        unsigned long items = 0;
        unsigned long left = 0;
        unsigned char *value = nullptr;
        // An image of the window is far below the size for which the owner would hand it
        // over in pieces (INCR), so one read takes all of it.
        if (XGetWindowProperty(display, requestor, property, 0, 1L << 24, True, AnyPropertyType,
                               &type, &bits, &items, &left, &value) == Success &&
            value) {
            if (bits == 8 && type != XInternAtom(display, "INCR", False))
                data = QByteArray(reinterpret_cast<const char *>(value), qsizetype(items));
            XFree(value);
        }
    }
    XDestroyWindow(display, requestor);
    return data;
}
