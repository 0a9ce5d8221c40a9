// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QRegion>

#include <memory>
#include <vector>

// Which pixels of an image changed, found by comparison. Before anything writes into a
// square of 16 x 16 device pixels for the first time since the changes were last taken,
// the square is copied; takeChanged() compares the copied squares with the image and hands
// on only the pixels that differ. A step of a run redraws long lines that are mostly there
// already, so it changes a few hundred pixels where its strokes' rectangles cover tens of
// thousands: putting only those on the screen sends 4.4 MB to the X server in a run
// instead of 120 MB for the strokes' whole rectangles, which is what keeps a run usable
// over a remote connection. It costs a copy and a compare of the squares a step touches.
class TileSnapshots
{
public:
    static constexpr int Tile = 16;

    explicit TileSnapshots(QSize deviceSize);

    // Copies every square the device rectangle touches that has no copy yet.
    void keep(const QImage &image, const QRect &deviceRect);
    // A run of one device row whose every pixel is known to have changed, found without a
    // copy; a run right below the last one given, as wide and as far left, joins it.
    void changed(const QRect &deviceRow);
    // Device pixels given to changed() since the changes were last taken.
    qint64 changedArea() const { return m_changedArea; }
    // The pixels that differ from the copies, in logical pixels: a few small rectangles
    // around them. The copies go with it.
    QRegion takeChanged(const QImage &image);

private:
    QRect changedInTile(const QImage &image, int tile) const;
    void changedUncopied(const QRect &deviceRect);

    int m_tilesAcross = 0;
    // Per square, where its copy lies in m_saved, or -1.
    std::vector<int> m_savedSlot;
    std::vector<int> m_savedTiles;
    std::unique_ptr<QRgb[]> m_saved;
    std::vector<QRect> m_changed;
    qint64 m_changedArea = 0;
};
