// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tilesnapshots.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr int Tile = TileSnapshots::Tile;

// A whole tile's row is copied with a length the compiler knows, in a few vector
// instructions; a library call per row costs more than the row itself.
void copyRow(QRgb *to, const QRgb *from, int width)
{
    if (width == Tile)
        std::memcpy(to, from, Tile * sizeof(QRgb));
    else
        std::memcpy(to, from, std::size_t(width) * sizeof(QRgb));
}

QRect toLogical(const QRect &deviceRect, qreal ratio)
{
    return QRect(QPoint(int(std::floor(deviceRect.left() / ratio)),
                        int(std::floor(deviceRect.top() / ratio))),
                 QPoint(int(std::ceil((deviceRect.right() + 1) / ratio)) - 1,
                        int(std::ceil((deviceRect.bottom() + 1) / ratio)) - 1));
}

} // namespace

TileSnapshots::TileSnapshots(QSize deviceSize)
    : m_tilesAcross((deviceSize.width() + Tile - 1) / Tile)
{
    m_savedSlot.assign(std::size_t(m_tilesAcross) * ((deviceSize.height() + Tile - 1) / Tile), -1);
    // Room for every square at once, left uninitialised: the system gives memory a page at a
    // time as copies first reach it, where a growing vector would clear and move it.
    m_saved = std::make_unique_for_overwrite<QRgb[]>(m_savedSlot.size() * Tile * Tile);
}

void TileSnapshots::keep(const QImage &image, const QRect &deviceRect)
{
    const QRect bounds = image.rect();
    const QRect rect = deviceRect.intersected(bounds);
    if (rect.isEmpty())
        return;
    const uchar *bits = image.constBits();
    const qsizetype stride = image.bytesPerLine();
    for (int ty = rect.top() / Tile; ty <= rect.bottom() / Tile; ++ty) {
        for (int tx = rect.left() / Tile; tx <= rect.right() / Tile; ++tx) {
            const int tile = ty * m_tilesAcross + tx;
            int &slot = m_savedSlot[std::size_t(tile)];
            if (slot >= 0)
                continue;
            slot = int(m_savedTiles.size());
            m_savedTiles.push_back(tile);
            const QRect area = QRect(tx * Tile, ty * Tile, Tile, Tile).intersected(bounds);
            QRgb *copy = m_saved.get() + std::size_t(slot) * Tile * Tile;
            const uchar *source = bits + std::ptrdiff_t(area.top()) * stride;
            for (int y = 0; y < area.height(); ++y, source += stride)
                copyRow(copy + y * Tile, reinterpret_cast<const QRgb *>(source) + area.left(),
                        area.width());
        }
    }
}

void TileSnapshots::changed(const QRect &deviceRow)
{
    // The parts in squares that have a copy are found by the comparison anyway: given here
    // too, and put on the screen before it, they would go there twice.
    const int firstTile = deviceRow.top() / Tile * m_tilesAcross;
    int from = deviceRow.left();
    for (int tx = deviceRow.left() / Tile; tx <= deviceRow.right() / Tile; ++tx) {
        const int end = std::min(deviceRow.right(), tx * Tile + Tile - 1);
        if (m_savedSlot[std::size_t(firstTile + tx)] >= 0) {
            if (from < tx * Tile)
                changedUncopied(QRect(from, deviceRow.top(), tx * Tile - from, 1));
            from = end + 1;
        }
    }
    if (from <= deviceRow.right())
        changedUncopied(QRect(from, deviceRow.top(), deviceRow.right() - from + 1, 1));
}

void TileSnapshots::changedUncopied(const QRect &deviceRect)
{
    m_changedArea += qint64(deviceRect.width()) * deviceRect.height();
    if (!m_changed.empty()) {
        QRect &last = m_changed.back();
        if (last.left() == deviceRect.left() && last.right() == deviceRect.right() &&
            last.bottom() + 1 == deviceRect.top()) {
            last.setBottom(deviceRect.bottom());
            return;
        }
    }
    m_changed.push_back(deviceRect);
}

// The device pixels of a saved tile that differ from the copy, as one rectangle.
QRect TileSnapshots::changedInTile(const QImage &image, int tile) const
{
    const QRect area = QRect(tile % m_tilesAcross * Tile, tile / m_tilesAcross * Tile, Tile, Tile)
                           .intersected(image.rect());
    const QRgb *copy = m_saved.get() + std::size_t(m_savedSlot[std::size_t(tile)]) * Tile * Tile;
    const uchar *bits = image.constBits();
    const qsizetype stride = image.bytesPerLine();
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

QRegion TileSnapshots::takeChanged(const QImage &image)
{
    const qreal ratio = image.devicePixelRatio();
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
        row += toLogical(band, ratio);
    };
    for (const int tile : m_savedTiles) {
        const QRect changed = changedInTile(image, tile);
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
    for (const QRect &rect : m_changed)
        region += toLogical(rect, ratio);
    m_changed.clear();
    m_changedArea = 0;
    return region;
}
