// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imagecanvas.h"

#include <QPainter>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <utility>

namespace {

// Changes are found by comparing squares of this many device pixels with a copy taken
// before the first stroke over them; a stroke touches only the squares along its way.
constexpr int Tile = 16;

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

// The first pixel from `from` to `to` whose colour is not `colour`, or to + 1; a
// fixed-length chunk at a time, which the compiler turns into vector instructions.
int firstOther(const QRgb *row, int from, int to, QRgb colour)
{
    constexpr int Chunk = 16;
    while (to + 1 - from >= Chunk) {
        QRgb other = 0;
        for (int i = 0; i < Chunk; ++i)
            other |= row[from + i] ^ colour;
        if (other != 0)
            break;
        from += Chunk;
    }
    while (from <= to && row[from] == colour)
        ++from;
    return from;
}

int lastOther(const QRgb *row, int from, int to, QRgb colour)
{
    constexpr int Chunk = 16;
    while (to + 1 - from >= Chunk) {
        QRgb other = 0;
        for (int i = 0; i < Chunk; ++i)
            other |= row[to - i] ^ colour;
        if (other != 0)
            break;
        to -= Chunk;
    }
    while (to >= from && row[to] == colour)
        --to;
    return to;
}

// A whole tile's row is copied with a length the compiler knows, in a few vector
// instructions; a library call per row costs more than the row itself.
void copyRow(QRgb *to, const QRgb *from, int width)
{
    if (width == Tile)
        std::memcpy(to, from, Tile * sizeof(QRgb));
    else
        std::memcpy(to, from, std::size_t(width) * sizeof(QRgb));
}

// wchar_t has the width of a pixel here, and the C library fills it with vector stores.
void fillPixels(QRgb *pixels, int count, QRgb colour)
{
    static_assert(sizeof(wchar_t) == sizeof(QRgb));
    std::wmemset(reinterpret_cast<wchar_t *>(pixels), wchar_t(colour), std::size_t(count));
}

} // namespace

ImageCanvas::ImageCanvas(QSize logicalSize, qreal devicePixelRatio)
    : m_image(logicalSize * devicePixelRatio, QImage::Format_RGB32)
{
    m_image.setDevicePixelRatio(devicePixelRatio);
    m_image.fill(StrokeColour::BackgroundGrey);
    m_tilesAcross = (m_image.width() + Tile - 1) / Tile;
    m_savedSlot.assign(std::size_t(m_tilesAcross) * ((m_image.height() + Tile - 1) / Tile), -1);
    m_rowFills.resize(std::size_t(m_image.height()));
    m_rowDirt.resize(std::size_t(m_image.height()));
    m_dirtChunk = (m_image.width() + 63) / 64;
}

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
    if (m_penWidth == 1 && y1 == y2 && fillHorizontalLine(x1, x2, y1, colour.resolved()))
        return;
    keepBeforeStroke(x1, y1, x2, y2);
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

// Reproduces QPainter's aliased one-pixel FlatCap line. At a ratio of 1 Qt's cosmetic
// stroker paints row floor(y) and the columns from round(x1) up to, not including,
// round(x2). At higher ratios, fractional ones included, the pen is wider than a device
// pixel and the line is filled as a rectangle: the rows and columns whose pixel centres
// lie in (lo, hi].
bool ImageCanvas::fillHorizontalLine(double x1, double x2, double y, QRgb colour)
{
    const double ratio = m_image.devicePixelRatio();
    if (!onFixedPointGrid(x1) || !onFixedPointGrid(x2) || !onFixedPointGrid(y) || ratio < 1.0)
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
        // An end exactly on a pixel centre is a tie that Qt's rasteriser settles by
        // rounding errors of its own, one way or the other; leave those lines to it. The
        // rows keep to the rule even then.
        for (const double edge : {ratio * left, ratio * right})
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
        RowFill &record = m_rowFills[std::size_t(row)];
        const RowFill fill{firstColumn, lastColumn, colour};
        if (record == fill) {
            // The row holds this fill already but where strokes crossed it since.
            quint64 dirty = std::exchange(m_rowDirt[std::size_t(row)], 0);
            while (dirty != 0) {
                // A run of dirty chunks, filled as one span.
                const int chunk = std::countr_zero(dirty);
                const int end = chunk + std::countr_one(dirty >> chunk) - 1;
                fillSpan(row, std::max(firstColumn, chunk * m_dirtChunk),
                         std::min(lastColumn, (end + 1) * m_dirtChunk - 1), colour);
                dirty = end == 63 ? 0 : dirty & (~quint64(0) << (end + 1));
            }
            continue;
        }
        fillSpan(row, firstColumn, lastColumn, colour);
        record = fill;
        m_rowDirt[std::size_t(row)] = 0;
    }
    return true;
}

void ImageCanvas::fillSpan(int row, int first, int last, QRgb colour)
{
    if (first > last)
        return;
    const auto *pixels = reinterpret_cast<const QRgb *>(m_image.constScanLine(row));
    first = firstOther(pixels, first, last, colour);
    if (first > last)
        return;
    last = lastOther(pixels, first, last, colour);
    keepBefore(QRect(first, row, last - first + 1, 1));
    fillPixels(reinterpret_cast<QRgb *>(m_image.scanLine(row)) + first, last - first + 1, colour);
}

void ImageCanvas::aboutToPaint(const QRect &deviceRect)
{
    soil(deviceRect);
    keepBefore(deviceRect);
}

// Marks the chunks of the rows a stroke may have painted, so that a row filled again
// with what it held is looked at only there.
void ImageCanvas::soil(const QRect &deviceRect)
{
    const QRect rect = deviceRect.intersected(m_image.rect());
    if (rect.isEmpty())
        return;
    const int firstChunk = rect.left() / m_dirtChunk;
    const int lastChunk = rect.right() / m_dirtChunk;
    const quint64 bits =
        (lastChunk - firstChunk >= 63 ? ~quint64(0)
                                      : ((quint64(1) << (lastChunk - firstChunk + 1)) - 1))
        << firstChunk;
    for (int row = rect.top(); row <= rect.bottom(); ++row)
        m_rowDirt[std::size_t(row)] |= bits;
}

QRect ImageCanvas::toDevice(const QRect &logicalRect) const
{
    const qreal ratio = m_image.devicePixelRatio();
    return QRect(QPoint(int(std::floor(logicalRect.left() * ratio)),
                        int(std::floor(logicalRect.top() * ratio))),
                 QPoint(int(std::ceil((logicalRect.right() + 1) * ratio)) - 1,
                        int(std::ceil((logicalRect.bottom() + 1) * ratio)) - 1));
}

QRect ImageCanvas::toLogical(const QRect &deviceRect) const
{
    const qreal ratio = m_image.devicePixelRatio();
    return QRect(QPoint(int(std::floor(deviceRect.left() / ratio)),
                        int(std::floor(deviceRect.top() / ratio))),
                 QPoint(int(std::ceil((deviceRect.right() + 1) / ratio)) - 1,
                        int(std::ceil((deviceRect.bottom() + 1) / ratio)) - 1));
}

// A slanted line is cut into pieces whose bounds are about a tile across, so a long
// diagonal keeps copies only of the tiles along it rather than of its whole bounding box.
void ImageCanvas::keepBeforeStroke(double x1, double y1, double x2, double y2)
{
    const double across =
        std::min(std::abs(x2 - x1), std::abs(y2 - y1)) * m_image.devicePixelRatio();
    const int pieces = int(std::clamp(std::ceil(across / Tile), 1.0, 256.0));
    for (int i = 0; i < pieces; ++i) {
        const double from = double(i) / pieces;
        const double to = double(i + 1) / pieces;
        const QRect piece =
            toDevice(strokeBounds(x1 + (x2 - x1) * from, y1 + (y2 - y1) * from, x1 + (x2 - x1) * to,
                                  y1 + (y2 - y1) * to, m_penWidth / 2 + 1));
        aboutToPaint(piece);
    }
}

void ImageCanvas::keepBefore(const QRect &deviceRect)
{
    if (!m_findingChanges)
        return;
    const QRect bounds = m_image.rect();
    const QRect rect = deviceRect.intersected(bounds);
    if (rect.isEmpty())
        return;
    const uchar *bits = std::as_const(m_image).constBits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int ty = rect.top() / Tile; ty <= rect.bottom() / Tile; ++ty) {
        for (int tx = rect.left() / Tile; tx <= rect.right() / Tile; ++tx) {
            const int tile = ty * m_tilesAcross + tx;
            int &slot = m_savedSlot[std::size_t(tile)];
            if (slot >= 0)
                continue;
            slot = int(m_savedTiles.size());
            m_savedTiles.push_back(tile);
            if (m_saved.size() < m_savedTiles.size() * Tile * Tile)
                m_saved.resize(m_savedTiles.size() * Tile * Tile);
            const QRect area = QRect(tx * Tile, ty * Tile, Tile, Tile).intersected(bounds);
            QRgb *copy = m_saved.data() + std::size_t(slot) * Tile * Tile;
            const uchar *source = bits + std::ptrdiff_t(area.top()) * stride;
            for (int y = 0; y < area.height(); ++y, source += stride)
                copyRow(copy + y * Tile, reinterpret_cast<const QRgb *>(source) + area.left(),
                        area.width());
        }
    }
}

// The device pixels of a saved tile that differ from the copy, as one rectangle.
QRect ImageCanvas::changedInTile(int tile) const
{
    const QRect area = QRect(tile % m_tilesAcross * Tile, tile / m_tilesAcross * Tile, Tile, Tile)
                           .intersected(m_image.rect());
    const QRgb *copy = m_saved.data() + std::size_t(m_savedSlot[std::size_t(tile)]) * Tile * Tile;
    const uchar *bits = m_image.constBits();
    const qsizetype stride = m_image.bytesPerLine();
    QRect changed;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *before = copy + (y - area.top()) * Tile;
        const auto *now = reinterpret_cast<const QRgb *>(bits + y * stride) + area.left();
        const int width = area.width();
        if (std::memcmp(before, now, std::size_t(width) * sizeof(QRgb)) == 0)
            continue;
        int first = 0;
        while (before[first] == now[first])
            ++first;
        int last = width - 1;
        while (before[last] == now[last])
            --last;
        changed |= QRect(area.left() + first, y, last - first + 1, 1);
    }
    return changed;
}

QRegion ImageCanvas::takeChanged()
{
    endPainting();
    QRegion region;
    // Tiles in rows, left to right: neighbours in a row that both changed give one band.
    // A row's bands are joined among themselves first: joining each to the whole region
    // costs as much as the region is long.
    std::sort(m_savedTiles.begin(), m_savedTiles.end());
    QRegion row;
    int tileRow = -1;
    QRect band;
    int bandEnd = -1;
    const auto addBand = [&] {
        if (band.isEmpty())
            return;
        if (bandEnd / m_tilesAcross != tileRow) {
            region += row;
            row = QRegion();
            tileRow = bandEnd / m_tilesAcross;
        }
        row += toLogical(band);
    };
    for (const int tile : m_savedTiles) {
        const QRect changed = changedInTile(tile);
        m_savedSlot[std::size_t(tile)] = -1;
        if (changed.isEmpty())
            continue;
        if (tile == bandEnd + 1 && tile % m_tilesAcross != 0) {
            band |= changed;
        } else {
            addBand();
            band = changed;
        }
        bandEnd = tile;
    }
    addBand();
    region += row;
    m_savedTiles.clear();
    return region;
}
