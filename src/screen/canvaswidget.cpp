// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "canvaswidget.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <utility>

CanvasWidget::CanvasWidget(QSize logicalSize, QWidget *parent)
    : QWidget(parent)
    , m_logicalSize(logicalSize)
    , m_canvas(std::make_unique<ImageCanvas>(logicalSize, parent ? parent->devicePixelRatioF()
                                                                 : devicePixelRatioF()))
{
    setObjectName(QStringLiteral("canvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(logicalSize);
    m_flushSoon.setSingleShot(true);
    connect(&m_flushSoon, &QTimer::timeout, this, &CanvasWidget::flush);
}

std::size_t CanvasWidget::DrawnHash::operator()(const Drawn &drawn) const
{
    return qHashMulti(0, int(drawn.kind), drawn.a, drawn.b, drawn.c, drawn.d,
                      drawn.colour.resolved(), int(drawn.colour.kind()), drawn.layer);
}

void CanvasWidget::record(const Drawn &drawn)
{
    const auto [at, added] = m_indexOf.try_emplace(drawn, quint32(m_different.size()));
    if (added)
        m_different.push_back(drawn);
    m_drawn.push_back(at->second);
}

void CanvasWidget::setPenWidth(int width)
{
    record({Drawn::Kind::PenWidth, float(width), 0, 0, 0, StrokeColour(), -1});
    m_canvas->setPenWidth(width);
}

void CanvasWidget::drawLine(float x1, float y1, float x2, float y2, StrokeColour colour)
{
    record({Drawn::Kind::Line, x1, y1, x2, y2, colour, -1});
    if (y1 == y2 && std::isnan(m_fillTop))
        m_fillTop = y1;
    m_canvas->line(x1, y1, x2, y2, colour);
    // A fill that changes a large area, as the sheet's last one does at a large zoom, goes
    // to the screen in bands as it is drawn: put there at once it would keep the screen
    // still for the 15 ms or more that 5 MB take to reach the X server.
    if (m_canvas->filledSinceTaken() >= FlushedFillArea && y1 == y2)
        flushBand(y1);
    else
        scheduleFlush();
}

void CanvasWidget::drawCircle(float x, float y, float radius, StrokeColour colour)
{
    record({Drawn::Kind::Circle, x, y, radius, 0, colour, -1});
    m_canvas->circle(x, y, radius, colour);
    scheduleFlush();
}

void CanvasWidget::paintOnLayer(const QRect &rect, const std::function<void(QPainter &)> &paint)
{
    record({Drawn::Kind::Layer, 0, 0, 0, 0, StrokeColour(), int(m_layerPaintings.size())});
    m_layerPaintings.push_back({rect, paint});
    m_canvas->paintOver(rect, paint);
    scheduleFlush();
}

void CanvasWidget::setDevicePixelRatio(qreal ratio)
{
    if (ratio <= 0 || ratio == m_canvas->image().devicePixelRatio())
        return;
    auto canvas = std::make_unique<ImageCanvas>(m_logicalSize, ratio);
    canvas->setFindingChanges(false);
    const std::vector<bool> hidden = hiddenLater();
    for (std::size_t at = 0; at < m_drawn.size(); ++at) {
        if (hidden[at])
            continue;
        const Drawn &drawn = m_different[m_drawn[at]];
        switch (drawn.kind) {
        case Drawn::Kind::PenWidth:
            canvas->setPenWidth(int(drawn.a));
            break;
        case Drawn::Kind::Line:
            canvas->line(drawn.a, drawn.b, drawn.c, drawn.d, drawn.colour);
            break;
        case Drawn::Kind::Circle:
            canvas->circle(drawn.a, drawn.b, drawn.c, drawn.colour);
            break;
        case Drawn::Kind::Layer: {
            const LayerPainting &layer = m_layerPaintings[std::size_t(drawn.layer)];
            canvas->paintOver(layer.rect, layer.paint);
            break;
        }
        }
    }
    // What the screen shows is all new, so nothing was looked for on the way.
    canvas->setFindingChanges(true);
    m_canvas = std::move(canvas);
    m_flushSoon.stop();
    update();
}

// A stroke that a later one of the same shape and pen width covers, in whatever colour,
// leaves no pixel of its own at any ratio, since both set the same pixels and each sets
// them to one colour whatever lay below. A run erases its sheet and dial by drawing every
// stroke again in grey, and the next run draws the same shapes again, so most of what was
// drawn need not be drawn again: without this the picture took longer to draw again with
// every run kept.
std::vector<bool> CanvasWidget::hiddenLater() const
{
    std::unordered_map<Drawn, quint32, DrawnHash> shapes;
    std::vector<quint32> shapeOf(m_different.size());
    for (std::size_t index = 0; index < m_different.size(); ++index) {
        Drawn shape = m_different[index];
        shape.colour = StrokeColour();
        shapeOf[index] = shapes.try_emplace(shape, quint32(shapes.size())).first->second;
    }
    // Pen width in effect for each stroke, as a bit; widths past the last bit are never
    // taken for covered.
    constexpr int Widths = 31;
    std::vector<quint32> penBit(m_drawn.size(), 0);
    int width = 1;
    for (std::size_t at = 0; at < m_drawn.size(); ++at) {
        const Drawn &drawn = m_different[m_drawn[at]];
        if (drawn.kind == Drawn::Kind::PenWidth)
            width = int(drawn.a);
        penBit[at] = width >= 0 && width < Widths ? 1u << width : 0;
    }
    std::vector<quint32> widthsSeen(shapes.size(), 0);
    std::vector<bool> hidden(m_drawn.size(), false);
    for (std::size_t at = m_drawn.size(); at-- > 0;) {
        const Drawn &drawn = m_different[m_drawn[at]];
        if (drawn.kind != Drawn::Kind::Line && drawn.kind != Drawn::Kind::Circle)
            continue;
        quint32 &seen = widthsSeen[shapeOf[m_drawn[at]]];
        hidden[at] = (seen & penBit[at]) != 0;
        seen |= penBit[at];
    }
    return hidden;
}

// Whatever was drawn reaches the screen by the next turn of the event loop at the latest,
// even where no step flushes it, as after the last strokes of a run. A zero timer rather
// than a posted call: starting it from this thread does not wake the event loop, which a
// posted event would do once every step.
void CanvasWidget::scheduleFlush()
{
    if (!m_flushSoon.isActive())
        m_flushSoon.start(0);
}

void CanvasWidget::flush()
{
    m_flushSoon.stop();
    m_fillTop = std::numeric_limits<float>::quiet_NaN();
    const QRegion changed = m_canvas->takeChanged() + std::exchange(m_heldBack, QRegion());
    if (!changed.isEmpty())
        repaint(changed);
}

void CanvasWidget::flushBand(float y)
{
    m_flushSoon.stop();
    QRegion changed = m_canvas->takeChanged() + std::exchange(m_heldBack, QRegion());
    // Only the band's own rows go now. What other strokes changed elsewhere, as the paths
    // wiped before the fill and drawn again after it, goes once when they are done rather
    // than once now and again then. Unless the ratio is whole, a one-pixel line's device
    // rows end inside a window row, which the next band's line goes on filling: sent now,
    // that row would go again with the next band. It waits for it too.
    const double ratio = m_canvas->image().devicePixelRatio();
    const double pastLine = std::floor(ratio * (y + 0.5) + 0.5);
    const int shared = int(std::floor(pastLine / ratio));
    const int top = std::max(0, int(std::floor(m_fillTop)) - 1);
    m_fillTop = std::numeric_limits<float>::quiet_NaN();
    const QRegion band(QRect(0, top, width(), std::max(0, shared - top)));
    m_heldBack = changed - band;
    changed &= band;
    if (!m_heldBack.isEmpty())
        scheduleFlush();
    if (!changed.isEmpty())
        repaint(changed);
}

// At a whole screen scale the image's pixels are the screen's and are copied one to one;
// through the painter's scale Qt takes its slower scaling path for every rectangle.
void CanvasWidget::paintEvent(QPaintEvent *event)
{
    // The window has come to a screen of another ratio, or the zoom changed: the picture is
    // drawn again for it rather than scaled.
    if (devicePixelRatioF() != m_canvas->image().devicePixelRatio())
        setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(this);
    const QImage &image = m_canvas->image();
    const qreal ratio = image.devicePixelRatio();
    const int scale = qRound(ratio);
    if (scale == ratio) {
        const QImage pixels(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                            image.format());
        painter.setWorldTransform(QTransform::fromScale(1.0 / scale, 1.0 / scale));
        for (const QRect &rect : event->region()) {
            const QRect device(rect.topLeft() * scale, rect.size() * scale);
            painter.drawImage(device.topLeft(), pixels, device);
        }
        return;
    }
    for (const QRect &rect : event->region()) {
        const QRectF source(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio,
                            rect.height() * ratio);
        painter.drawImage(QRectF(rect), image, source);
    }
}
