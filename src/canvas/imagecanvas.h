// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "canvas.h"
#include "rowfills.h"
#include "tilesnapshots.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <functional>
#include <memory>

// The picture a run draws, kept in an image so that it survives every repaint of the
// window. Drawing is aliased: a line drawn again in the background grey with the same end
// points restores exact background. The image has the screen's device pixel ratio, whole
// or fractional, so strokes are rasterised at device resolution.
//
// Four parts share the work. TileSnapshots finds the pixels a step changed, so that only
// those reach the screen. HorizontalFill writes the sheet's one-pixel horizontal lines by
// hand, only where a pixel differs (a long span, as when the whole sheet changes colour, is
// handed on as changed run by run, without copies), and RowFills lets a row filled again as
// it was be looked at only where other strokes crossed it. A horizontal line the fill cannot
// take, over pixels that all hold its colour already, is left out. Every other stroke goes
// through one QPainter,
// opened on the first stroke and kept until the changes are taken, the image is handed
// out or painted over: opening one costs more than many strokes.
class ImageCanvas : public Canvas
{
public:
    explicit ImageCanvas(QSize logicalSize, qreal devicePixelRatio = 1.0);

    void setPenWidth(int width) override;

    const QImage &image() const;

    // Paints on the image through a painter of its own, as the labels on the canvas's layer
    // do; what it changes inside the logical rectangle is found like any stroke's.
    void paintOver(const QRect &logicalRect, const std::function<void(QPainter &)> &paint);

    // The pixels whose colour changed since the last call, in logical pixels: a few small
    // rectangles around them rather than the strokes' bounds.
    QRegion takeChanged();
    // Device pixels known to have changed since then without a comparison: what long fills
    // wrote, as when the whole sheet changes colour.
    qint64 filledSinceTaken() const { return m_snapshots.changedArea(); }
    // Whether changes are looked for at all; a picture drawn anew as a whole, which goes to
    // the screen entire, spares the copies.
    void setFindingChanges(bool finding) { m_findingChanges = finding; }

protected:
    void drawLine(float x1, float y1, float x2, float y2, StrokeColour colour) override;
    void drawCircle(float x, float y, float radius, StrokeColour colour) override;

private:
    bool fillHorizontalLine(double x1, double x2, double y, QRgb colour);
    bool holdsOnly(const QRect &deviceRect, QRgb colour) const;
    // Device pixels from which a fill's span is written without copies of its squares.
    static constexpr int LongSpan = 4 * TileSnapshots::Tile;
    void fillSpan(int row, int first, int last, QRgb colour);
    // What a stroke through QPainter does before it paints the device rectangle.
    void aboutToPaint(const QRect &deviceRect);
    void aboutToPaintStroke(double x1, double y1, double x2, double y2);
    void keepSnapshot(const QRect &deviceRect);
    QPen pen(StrokeColour colour) const;
    QPainter &painter();
    void endPainting() const;
    QRect toDevice(const QRect &logicalRect) const;

    QImage m_image;
    mutable std::unique_ptr<QPainter> m_painter;
    int m_penWidth = 1;
    bool m_findingChanges = true;
    TileSnapshots m_snapshots;
    RowFills m_rowFills;
};
