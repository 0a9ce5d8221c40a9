#pragma once

#include "canvas.h"

#include <QImage>
#include <QRegion>

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
    void line(float x1, float y1, float x2, float y2,
              StrokeColour colour = StrokeColour::fore()) override;
    void circle(float x, float y, float radius,
                StrokeColour colour = StrokeColour::fore()) override;

    const QImage &image() const { return m_image; }
    QImage &image() { return m_image; }

    // Where the image changed since the last call, in logical pixels.
    QRegion takeChanged();
    void markChanged(const QRect &logicalRect);

    // Thin horizontal lines are written straight into the image instead of going through
    // QPainter: the same pixels, about ten times faster. Off only to compare the two paths.
    void setHorizontalShortcut(bool enabled) { m_horizontalShortcut = enabled; }

private:
    bool fillHorizontalLine(double x1, double x2, double y, QRgb colour);
    QPen pen(StrokeColour colour) const;

    QSize m_logicalSize;
    QImage m_image;
    int m_penWidth = 1;
    bool m_horizontalShortcut = true;
    std::vector<QRect> m_changed;
};
