// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "canvas/canvas.h"
#include "canvas/imagecanvas.h"

#include <QTimer>
#include <QWidget>

#include <functional>

// The window's client area as a canvas. Strokes go into a backing image that every
// repaint copies, so the picture survives being covered or moved; flush() puts what
// changed on the screen at once.
class CanvasWidget : public QWidget, public Canvas
{
    Q_OBJECT

public:
    explicit CanvasWidget(QSize logicalSize, QWidget *parent = nullptr);

    void setPenWidth(int width) override;

    // Paints into the canvas image itself, as the items on the canvas's layer do.
    void paintOnLayer(const QRect &rect, const std::function<void(QPainter &)> &paint);

    void flush();
    const QImage &image() const { return m_canvas.image(); }

protected:
    void drawLine(float x1, float y1, float x2, float y2, StrokeColour colour) override;
    void drawCircle(float x, float y, float radius, StrokeColour colour) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void scheduleFlush();

    ImageCanvas m_canvas;
    QTimer m_flushSoon;
};
