// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRgb>

#include <optional>

// One-pixel horizontal lines written by hand, pixel for pixel as QPainter would paint them.
// The sheet of glass is thousands of such lines a run, most of them already there; going
// through QPainter would paint each whole and make TileSnapshots copy every square it
// covers. By hand a line writes only the pixels that differ, so squares it leaves as they
// were are never copied or compared.
namespace HorizontalFill {

// The device pixels a line covers: rows and columns, both ends included.
struct Pixels {
    int firstRow = 0;
    int lastRow = -1;
    int firstColumn = 0;
    int lastColumn = -1;
};

// The pixels of QPainter's aliased one-pixel FlatCap line from x1 to x2 at y, at the
// device pixel ratio; nothing where only QPainter itself can tell (an end off the 1/64
// pixel grid, or exactly on a pixel centre at a ratio above 1).
std::optional<Pixels> pixelsOf(double x1, double x2, double y, double ratio);
// The pixels such a line may paint where pixelsOf() leaves it to QPainter because an end
// falls on a pixel centre: its rows, and its columns with one more at each end.
std::optional<Pixels> reachOf(double x1, double x2, double y, double ratio);

// The first and the last pixel from `from` to `to` whose colour is not `colour`; the first
// is to + 1 when there is none.
int firstOther(const QRgb *row, int from, int to, QRgb colour);
int lastOther(const QRgb *row, int from, int to, QRgb colour);

// Writes the colour into `count` pixels.
void write(QRgb *pixels, int count, QRgb colour);

} // namespace HorizontalFill
