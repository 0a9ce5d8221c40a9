// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "canvasitem.h"

#include "canvas/strokecolour.h"
#include "canvaswidget.h"

#include <QPainter>

CanvasItem::CanvasItem(const QString &name, const QRect &geometry, CanvasWidget *canvas)
    : QObject(canvas)
    , m_canvas(canvas)
    , m_geometry(geometry)
{
    setObjectName(name);
}

void CanvasItem::setText(const QString &text, const QFont &font, Qt::Alignment alignment)
{
    m_text = text;
    m_font = font;
    m_alignment = alignment;
    if (m_visible)
        paint();
}

void CanvasItem::setAlignment(Qt::Alignment alignment)
{
    setText(m_text, m_font, alignment);
}

void CanvasItem::setPicture(PictureMaker picture)
{
    m_picture = std::move(picture);
    if (m_visible)
        paint();
}

void CanvasItem::show()
{
    showAt(m_geometry.topLeft());
}

void CanvasItem::hide()
{
    if (!m_visible)
        return;
    m_visible = false;
    m_canvas->paintOnLayer(m_geometry, [geometry = m_geometry](QPainter &painter) {
        painter.fillRect(geometry, QColor(StrokeColour::BackgroundGrey));
    });
}

void CanvasItem::showAt(const QPoint &topLeft)
{
    if (topLeft != m_geometry.topLeft())
        hide();
    m_geometry.moveTopLeft(topLeft);
    m_visible = true;
    paint();
}

// The painting keeps what the item is now, so that the canvas can paint it again later,
// at another pixel ratio, as it was.
void CanvasItem::paint()
{
    if (m_picture) {
        m_canvas->paintOnLayer(
            m_geometry, [geometry = m_geometry, picture = m_picture](QPainter &painter) {
                // A picture made for the canvas's pixel ratio lands pixel for pixel.
                painter.drawImage(QPointF(geometry.topLeft()),
                                  picture(painter.device()->devicePixelRatioF()));
            });
        return;
    }
    m_canvas->paintOnLayer(m_geometry, [geometry = m_geometry, text = m_text, font = m_font,
                                        alignment = m_alignment](QPainter &painter) {
        painter.fillRect(geometry, QColor(StrokeColour::BackgroundGrey));
        painter.setClipRect(geometry);
        painter.setFont(font);
        painter.setPen(QColor(StrokeColour::ForeColour));
        painter.drawText(geometry, int(alignment), text);
    });
}
