#pragma once

#include "canvas.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <memory>
#include <vector>

// The picture a run draws, kept in an image so that it survives every repaint of the
// window. Drawing is aliased: a line drawn again in the background grey with the same end
// points restores exact background. The image has the screen's device pixel ratio, so
// strokes are rasterised at device resolution.
class ImageCanvas : public Canvas
{
public:
    explicit ImageCanvas(QSize logicalSize, qreal devicePixelRatio = 1.0);

    void setPenWidth(int width) override;

    const QImage &image() const;
    QImage &image();

    // The pixels whose colour changed since the last call, in logical pixels: a few small
    // rectangles around them rather than the strokes' bounds.
    QRegion takeChanged();
    // Counts a rectangle as changed whatever happened in it, for painting done on image().
    void markChanged(const QRect &logicalRect);

    // Thin horizontal lines are written straight into the image instead of going through
    // QPainter: the same pixels, and a pixel that already has the colour is not written.
    // Off only to compare the two paths.
    void setHorizontalShortcut(bool enabled) { m_horizontalShortcut = enabled; }
    // Every stroke's whole bounding rectangle counts as changed, as before the changed
    // pixels were tracked. Only to compare the two.
    void setWholeStrokeDamage(bool enabled) { m_wholeStrokeDamage = enabled; }

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

    QSize m_logicalSize;
    QImage m_image;
    // One painter serves all the strokes until the changes are taken or the image is
    // handed out; opening one costs more than many strokes.
    mutable std::unique_ptr<QPainter> m_painter;
    int m_penWidth = 1;
    bool m_horizontalShortcut = true;
    bool m_wholeStrokeDamage = false;

    int m_tilesAcross = 0;
    std::vector<int> m_savedSlot;
    std::vector<int> m_savedTiles;
    std::vector<QRgb> m_saved;
    std::vector<QRect> m_marked;

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
