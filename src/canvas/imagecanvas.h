// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "canvas.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <functional>
#include <memory>
#include <vector>

// The picture a run draws, kept in an image so that it survives every repaint of the
// window. Drawing is aliased: a line drawn again in the background grey with the same end
// points restores exact background. The image has the screen's device pixel ratio, whole
// or fractional, so strokes are rasterised at device resolution.
//
// What changed is found one way. Before anything writes into a square of 16 x 16 device
// pixels for the first time since the changes were last taken, the square is copied;
// takeChanged() compares the copied squares with the image and hands on only the pixels that
// differ. A step of a run redraws long lines that are mostly there already, so it changes a
// few hundred pixels where its strokes' rectangles cover tens of thousands; sending those few
// keeps what goes down a remote X connection to a few MB a run instead of a hundred or more.
// It costs a copy and a compare of the squares a step touches, which is why the sheet's fill,
// thousands of one-pixel horizontal lines a run, does not go through QPainter: those lines are
// written straight into the rows, only where a pixel differs (so unchanged squares are never
// copied), and each row remembers its last fill and where other strokes crossed it since, so
// that the same fill again looks only there.
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
    // Whether changes are looked for at all; a picture drawn anew as a whole, which goes to
    // the screen entire, spares the copies.
    void setFindingChanges(bool finding) { m_findingChanges = finding; }

protected:
    void drawLine(float x1, float y1, float x2, float y2, StrokeColour colour) override;
    void drawCircle(float x, float y, float radius, StrokeColour colour) override;

private:
    bool fillHorizontalLine(double x1, double x2, double y, QRgb colour);
    void fillSpan(int row, int first, int last, QRgb colour);
    void soil(const QRect &deviceRect);
    // What a stroke through QPainter does before it paints the device rectangle.
    void aboutToPaint(const QRect &deviceRect);
    QPen pen(StrokeColour colour) const;
    QPainter &painter();
    void endPainting() const;

    // Keeps a copy of the tiles a device rectangle touches as they are before the first
    // stroke over them, so that takeChanged() finds what really changed.
    void keepBefore(const QRect &deviceRect);
    void keepBeforeStroke(double x1, double y1, double x2, double y2);
    QRect changedInTile(int tile) const;
    QRect toDevice(const QRect &logicalRect) const;
    QRect toLogical(const QRect &deviceRect) const;

    QImage m_image;
    // One painter serves all the strokes until the changes are taken, the image is handed
    // out or painted over; opening one costs more than many strokes.
    mutable std::unique_ptr<QPainter> m_painter;
    int m_penWidth = 1;

    bool m_findingChanges = true;
    int m_tilesAcross = 0;
    std::vector<int> m_savedSlot;
    std::vector<int> m_savedTiles;
    std::vector<QRgb> m_saved;

    // What the last horizontal line wrote in each device row, and which 64ths of the row
    // other strokes have painted since: a row filled again as it was is looked at only
    // there, which spares reading the whole sheet in every step.
    struct RowFill {
        int first = 0;
        int last = -1;
        QRgb colour = 0;
        bool operator==(const RowFill &) const = default;
    };
    std::vector<RowFill> m_rowFills;
    std::vector<quint64> m_rowDirt;
    int m_dirtChunk = 1;
};
