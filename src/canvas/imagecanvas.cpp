#include "imagecanvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

bool isFinite(float a, float b, float c, float d)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

// Positions on a 1/64 pixel grid are exact in Qt's fixed-point rasterisers, so the
// shortcut below reproduces them exactly; anything finer goes through QPainter.
bool onFixedPointGrid(double v)
{
    const double scaled = v * 64.0;
    return scaled == std::floor(scaled) && std::abs(v) < 1e6;
}

// Index of the first pixel whose centre lies above a, and of the last one at or below b.
int firstCentreAbove(double a)
{
    return int(std::floor(a - 0.5)) + 1;
}
int lastCentreAtOrBelow(double b)
{
    return int(std::floor(b - 0.5));
}

QRect strokeBounds(double x1, double y1, double x2, double y2, int margin)
{
    // Far-off positions are clamped first: only the part on the canvas matters, and a
    // huge double does not convert to int.
    const auto pixel = [](double v) { return int(std::clamp(v, -1e6, 1e6)); };
    const int left = pixel(std::floor(std::min(x1, x2))) - margin;
    const int top = pixel(std::floor(std::min(y1, y2))) - margin;
    const int right = pixel(std::ceil(std::max(x1, x2))) + margin;
    const int bottom = pixel(std::ceil(std::max(y1, y2))) + margin;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

ImageCanvas::ImageCanvas(QSize logicalSize, qreal devicePixelRatio)
    : m_logicalSize(logicalSize)
    , m_image(logicalSize * devicePixelRatio, QImage::Format_RGB32)
{
    m_image.setDevicePixelRatio(devicePixelRatio);
    m_image.fill(StrokeColour::BackgroundGrey);
}

void ImageCanvas::setPenWidth(int width)
{
    m_penWidth = std::clamp(width, 1, 3);
}

QPen ImageCanvas::pen(StrokeColour colour) const
{
    // Flat caps: a line's last point is not painted, so a line that ends at the edge of
    // a shown picture does not reach into it.
    return QPen(QColor(colour.resolved()), m_penWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

void ImageCanvas::line(float x1, float y1, float x2, float y2, StrokeColour colour)
{
    if (!isFinite(x1, y1, x2, y2))
        return;
    const bool thinHorizontal = m_penWidth == 1 && y1 == y2;
    if (!(thinHorizontal && m_horizontalShortcut &&
          fillHorizontalLine(x1, x2, y1, colour.resolved()))) {
        QPainter painter(&m_image);
        painter.setPen(pen(colour));
        painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    markChanged(strokeBounds(x1, y1, x2, y2, m_penWidth + 1));
}

void ImageCanvas::circle(float x, float y, float radius, StrokeColour colour)
{
    if (!isFinite(x, y, radius, 0.0f))
        return;
    QPainter painter(&m_image);
    painter.setPen(pen(colour));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(x, y), radius, radius);
    markChanged(strokeBounds(x - radius, y - radius, x + radius, y + radius, m_penWidth + 1));
}

// Reproduces QPainter's aliased one-pixel FlatCap line. At a ratio of 1 Qt's cosmetic
// stroker paints row floor(y) and the columns from round(x1) up to, not including,
// round(x2). At higher ratios the pen is wider than a device pixel and the line is
// filled as a rectangle: the rows and columns whose pixel centres lie in (lo, hi].
bool ImageCanvas::fillHorizontalLine(double x1, double x2, double y, QRgb colour)
{
    const double ratio = m_image.devicePixelRatio();
    if (!onFixedPointGrid(x1) || !onFixedPointGrid(x2) || !onFixedPointGrid(y))
        return false;
    if (ratio != 1.0 && ratio != 2.0)
        return false;
    const double left = std::min(x1, x2);
    const double right = std::max(x1, x2);

    int firstRow = 0;
    int lastRow = 0;
    int firstColumn = 0;
    int lastColumn = 0;
    if (ratio == 1.0) {
        firstRow = lastRow = int(std::floor(y));
        firstColumn = int(std::floor(left + 0.5));
        lastColumn = int(std::floor(right + 0.5)) - 1;
    } else {
        // An edge exactly on a pixel centre is a tie that Qt's rasteriser settles by
        // rounding errors of its own; leave those lines to it.
        for (const double edge : {ratio * left, ratio * right, ratio * (y - 0.5)})
            if (edge - std::floor(edge) == 0.5)
                return false;
        firstRow = firstCentreAbove(ratio * (y - 0.5));
        lastRow = lastCentreAtOrBelow(ratio * (y + 0.5));
        firstColumn = firstCentreAbove(ratio * left);
        lastColumn = lastCentreAtOrBelow(ratio * right);
    }

    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, m_image.height() - 1);
    firstColumn = std::max(firstColumn, 0);
    lastColumn = std::min(lastColumn, m_image.width() - 1);
    for (int row = firstRow; row <= lastRow && firstColumn <= lastColumn; ++row) {
        auto *pixels = reinterpret_cast<QRgb *>(m_image.scanLine(row));
        std::fill(pixels + firstColumn, pixels + lastColumn + 1, colour);
    }
    return true;
}

void ImageCanvas::markChanged(const QRect &logicalRect)
{
    const QRect rect = logicalRect.intersected(QRect(QPoint(0, 0), m_logicalSize));
    if (rect.isEmpty())
        return;
    // Consecutive rows of the same width, as the fills and clearings draw them, merge
    // into one rectangle, which keeps the region handed to the screen small.
    if (!m_changed.empty()) {
        QRect &last = m_changed.back();
        if (last.left() == rect.left() && last.right() == rect.right() &&
            rect.top() <= last.bottom() + 1 && rect.bottom() >= last.top() - 1) {
            last = last.united(rect);
            return;
        }
    }
    m_changed.push_back(rect);
}

QRegion ImageCanvas::takeChanged()
{
    QRegion region;
    for (const QRect &rect : m_changed)
        region += rect;
    m_changed.clear();
    return region;
}
