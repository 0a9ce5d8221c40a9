// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "canvas/canvas.h"
#include "canvas/imagecanvas.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <limits>
#include <memory>
#include <unordered_map>
#include <vector>

// The window's client area as a canvas. Strokes go into a backing image that every
// repaint copies, so the picture survives being covered or moved; flush() puts what
// changed on the screen at once.
//
// The image has the pixel ratio of the screen the window is on. Every stroke and every
// painting on the layer is kept, in window pixels, in the order it came; where the ratio
// changes (another screen, another zoom) they are drawn once more into an image of the new
// ratio, which gives exactly the pixels a window that had that ratio all along would show.
class CanvasWidget : public QWidget, public Canvas
{
    Q_OBJECT

public:
    explicit CanvasWidget(QSize logicalSize, QWidget *parent = nullptr);

    void setPenWidth(int width) override;

    // Paints into the canvas image itself, as the items on the canvas's layer do.
    void paintOnLayer(const QRect &rect, const std::function<void(QPainter &)> &paint);

    void flush();
    const QImage &image() const { return m_canvas->image(); }

    // Draws the whole picture again at this device pixel ratio, if the image has another.
    void setDevicePixelRatio(qreal ratio);

protected:
    void drawLine(float x1, float y1, float x2, float y2, StrokeColour colour) override;
    void drawCircle(float x, float y, float radius, StrokeColour colour) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void scheduleFlush();

    // A band of a large fill, whose last line lies at window row y, put on the screen.
    void flushBand(float y);
    // Device pixels of a large fill that go to the screen together, half a megabyte.
    static constexpr qint64 FlushedFillArea = 128 * 1024;

    // One drawing operation as it came, in window pixels. A painting on the layer is kept
    // as its own function, which draws for the device its painter has.
    struct Drawn {
        enum class Kind { PenWidth, Line, Circle, Layer } kind;
        float a = 0, b = 0, c = 0, d = 0;
        StrokeColour colour;
        int layer = -1;
        bool operator==(const Drawn &) const = default;
    };
    struct DrawnHash {
        std::size_t operator()(const Drawn &drawn) const;
    };
    struct LayerPainting {
        QRect rect;
        std::function<void(QPainter &)> paint;
    };
    void record(const Drawn &drawn);
    // For each entry of m_drawn, whether a later stroke covers every pixel it set.
    std::vector<bool> hiddenLater() const;

    QSize m_logicalSize;
    std::unique_ptr<ImageCanvas> m_canvas;
    // A run draws the same strokes step after step (the sheet, the paths, the axes): each
    // different one is kept once, and the order as indexes into those.
    std::vector<Drawn> m_different;
    std::unordered_map<Drawn, quint32, DrawnHash> m_indexOf;
    std::vector<quint32> m_drawn;
    std::vector<LayerPainting> m_layerPaintings;
    QTimer m_flushSoon;
    // Changes outside a band's rows, put on the screen with the next band or after the fill.
    QRegion m_heldBack;
    // The first horizontal line since the changes were last taken: a large fill's first row.
    float m_fillTop = std::numeric_limits<float>::quiet_NaN();
};
