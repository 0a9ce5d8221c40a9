// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imagecanvas.h"

#include "horizontalfill.h"

#include <QPainter>

#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

bool isFinite(float a, float b, float c, float d)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
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

struct Mapping {
    void *address;
    std::size_t bytes;
};

// The pixels in memory of their own that a child process does not share. Where the process
// forks (a library starting a helper, as D-Bus does when it looks for a session bus), the
// pages it shares with the child take a fault each on their next write: at 2800 x 2034
// pixels the first strokes of a run took some 5500 of them, a tenth of a second.
QImage unsharedImage(QSize deviceSize)
{
    const auto bytes = std::size_t(deviceSize.width()) * 4 * std::size_t(deviceSize.height());
    void *address = bytes == 0 ? MAP_FAILED
                               : mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        return QImage(deviceSize, QImage::Format_RGB32);
    madvise(address, bytes, MADV_DONTFORK);
    return QImage(
        static_cast<uchar *>(address), deviceSize.width(), deviceSize.height(),
        deviceSize.width() * 4, QImage::Format_RGB32,
        [](void *info) {
            const auto *mapping = static_cast<Mapping *>(info);
            munmap(mapping->address, mapping->bytes);
            delete mapping;
        },
        new Mapping{address, bytes});
}

QImage filledImage(QSize logicalSize, qreal devicePixelRatio)
{
    QImage image = unsharedImage(logicalSize * devicePixelRatio);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(StrokeColour::BackgroundGrey);
    return image;
}

} // namespace

ImageCanvas::ImageCanvas(QSize logicalSize, qreal devicePixelRatio)
    : m_image(filledImage(logicalSize, devicePixelRatio))
    , m_snapshots(m_image.size())
    , m_rowFills(m_image.size())
{}

const QImage &ImageCanvas::image() const
{
    // A painter left open would go on writing into a copy taken from here.
    endPainting();
    return m_image;
}

void ImageCanvas::paintOver(const QRect &logicalRect, const std::function<void(QPainter &)> &paint)
{
    endPainting();
    aboutToPaint(toDevice(logicalRect));
    QPainter painter(&m_image);
    paint(painter);
}

QPainter &ImageCanvas::painter()
{
    if (!m_painter)
        m_painter = std::make_unique<QPainter>(&m_image);
    return *m_painter;
}

void ImageCanvas::endPainting() const
{
    m_painter.reset();
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

void ImageCanvas::drawLine(float x1, float y1, float x2, float y2, StrokeColour colour)
{
    if (!isFinite(x1, y1, x2, y2))
        return;
    if (m_penWidth == 1 && y1 == y2) {
        if (fillHorizontalLine(x1, x2, y1, colour.resolved()))
            return;
        // One the fill cannot take, as a wipe whose end falls on a pixel centre at some zooms:
        // over pixels that all hold its colour already it changes none of them, and a look
        // costs less than a copy and a painting of a still empty area.
        const auto reach = HorizontalFill::reachOf(x1, x2, y1, m_image.devicePixelRatio());
        const QRect bounds = reach ? QRect(QPoint(reach->firstColumn, reach->firstRow),
                                           QPoint(reach->lastColumn, reach->lastRow))
                                   : toDevice(strokeBounds(x1, y1, x2, y2, 1));
        if (holdsOnly(bounds, colour.resolved()))
            return;
    }
    aboutToPaintStroke(x1, y1, x2, y2);
    QPainter &p = painter();
    p.setPen(pen(colour));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void ImageCanvas::drawCircle(float x, float y, float radius, StrokeColour colour)
{
    if (!isFinite(x, y, radius, 0.0f))
        return;
    aboutToPaint(
        toDevice(strokeBounds(x - radius, y - radius, x + radius, y + radius, m_penWidth + 1)));
    QPainter &p = painter();
    p.setPen(pen(colour));
    // A pen as wide as the circle covers its middle too, but Qt's stroke of it leaves a
    // device pixel there unpainted at some fractional places and ratios: a plotted point
    // would read as a ring. Filling the inside in the pen's colour closes it; at a ratio of 1
    // the pixels stay those of the stroke alone.
    const bool solid = m_image.devicePixelRatio() != 1.0 && 2 * radius <= m_penWidth;
    p.setBrush(solid ? QBrush(QColor(colour.resolved())) : QBrush(Qt::NoBrush));
    p.drawEllipse(QPointF(x, y), radius, radius);
}

bool ImageCanvas::fillHorizontalLine(double x1, double x2, double y, QRgb colour)
{
    const auto pixels = HorizontalFill::pixelsOf(x1, x2, y, m_image.devicePixelRatio());
    if (!pixels)
        return false;
    const int firstRow = std::max(pixels->firstRow, 0);
    const int lastRow = std::min(pixels->lastRow, m_image.height() - 1);
    const int firstColumn = std::max(pixels->firstColumn, 0);
    const int lastColumn = std::min(pixels->lastColumn, m_image.width() - 1);
    for (int row = firstRow; row <= lastRow && firstColumn <= lastColumn; ++row)
        m_rowFills.fill(row, firstColumn, lastColumn, colour,
                        [&](int first, int last) { fillSpan(row, first, last, colour); });
    return true;
}

bool ImageCanvas::holdsOnly(const QRect &deviceRect, QRgb colour) const
{
    const QRect rect = deviceRect.intersected(m_image.rect());
    if (rect.isEmpty())
        return false;
    // An open painter writes straight into the image, so its pixels can be read meanwhile.
    for (int row = rect.top(); row <= rect.bottom(); ++row) {
        const auto *pixels = reinterpret_cast<const QRgb *>(m_image.constScanLine(row));
        if (HorizontalFill::firstOther(pixels, rect.left(), rect.right(), colour) <= rect.right())
            return false;
    }
    return true;
}

// Writes only the part of the span that differs, so that squares left as they were are
// never copied.
void ImageCanvas::fillSpan(int row, int first, int last, QRgb colour)
{
    const auto *pixels = reinterpret_cast<const QRgb *>(m_image.constScanLine(row));
    first = HorizontalFill::firstOther(pixels, first, last, colour);
    if (first > last)
        return;
    last = HorizontalFill::lastOther(pixels, first, last, colour);
    auto *writable = reinterpret_cast<QRgb *>(m_image.scanLine(row));
    // A long span, as when a whole sheet changes colour, is written run by run of the pixels
    // that differ, each run handed on as changed: copying the squares it crosses to compare
    // them afterwards would cost more than the writing, and fresh memory for the copies a
    // page fault every 4 kB.
    if (m_findingChanges && last - first >= LongSpan) {
        while (first <= last) {
            int end = first;
            while (end < last && writable[end + 1] != colour)
                ++end;
            HorizontalFill::write(writable + first, end - first + 1, colour);
            m_snapshots.changed(QRect(first, row, end - first + 1, 1));
            first = HorizontalFill::firstOther(writable, end + 1, last, colour);
        }
        return;
    }
    keepSnapshot(QRect(first, row, last - first + 1, 1));
    HorizontalFill::write(writable + first, last - first + 1, colour);
}

void ImageCanvas::aboutToPaint(const QRect &deviceRect)
{
    m_rowFills.soil(deviceRect);
    keepSnapshot(deviceRect);
}

void ImageCanvas::keepSnapshot(const QRect &deviceRect)
{
    if (m_findingChanges)
        m_snapshots.keep(m_image, deviceRect);
}

// A slanted line is cut into pieces whose bounds are about a tile across, so a long
// diagonal keeps copies only of the tiles along it rather than of its whole bounding box.
void ImageCanvas::aboutToPaintStroke(double x1, double y1, double x2, double y2)
{
    const double across =
        std::min(std::abs(x2 - x1), std::abs(y2 - y1)) * m_image.devicePixelRatio();
    const int pieces = int(std::clamp(std::ceil(across / TileSnapshots::Tile), 1.0, 256.0));
    for (int i = 0; i < pieces; ++i) {
        const double from = double(i) / pieces;
        const double to = double(i + 1) / pieces;
        const QRect piece =
            toDevice(strokeBounds(x1 + (x2 - x1) * from, y1 + (y2 - y1) * from, x1 + (x2 - x1) * to,
                                  y1 + (y2 - y1) * to, m_penWidth / 2 + 1));
        aboutToPaint(piece);
    }
}

QRect ImageCanvas::toDevice(const QRect &logicalRect) const
{
    const qreal ratio = m_image.devicePixelRatio();
    return QRect(QPoint(int(std::floor(logicalRect.left() * ratio)),
                        int(std::floor(logicalRect.top() * ratio))),
                 QPoint(int(std::ceil((logicalRect.right() + 1) * ratio)) - 1,
                        int(std::ceil((logicalRect.bottom() + 1) * ratio)) - 1));
}

QRegion ImageCanvas::takeChanged()
{
    endPainting();
    return m_snapshots.takeChanged(m_image);
}
