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

void CanvasItem::setPicture(const QImage &picture)
{
    m_picture = picture;
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
    m_canvas->paintOnLayer(m_geometry, [this](QPainter &painter) {
        painter.fillRect(m_geometry, QColor(StrokeColour::BackgroundGrey));
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

void CanvasItem::paint()
{
    m_canvas->paintOnLayer(m_geometry, [this](QPainter &painter) {
        if (!m_picture.isNull()) {
            // A picture made for the canvas's pixel ratio lands pixel for pixel.
            painter.drawImage(QPointF(m_geometry.topLeft()), m_picture);
            return;
        }
        painter.fillRect(m_geometry, QColor(StrokeColour::BackgroundGrey));
        painter.setClipRect(m_geometry);
        painter.setFont(m_font);
        painter.setPen(QColor(StrokeColour::ForeColour));
        painter.drawText(m_geometry, int(m_alignment), m_text);
    });
}
