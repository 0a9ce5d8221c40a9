// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "horizontalfill.h"

#include <algorithm>
#include <cmath>

namespace HorizontalFill {

namespace {

// Positions on a 1/64 pixel grid are exact in Qt's fixed-point rasterisers, so the
// shortcut reproduces them exactly; anything finer goes through QPainter.
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

} // namespace

// At a ratio of 1 Qt's cosmetic stroker paints row floor(y) and the columns from round(x1)
// up to, not including, round(x2). At higher ratios, fractional ones included, the pen is
// wider than a device pixel and the line is filled as a rectangle: the rows and columns
// whose pixel centres lie in (lo, hi].
std::optional<Pixels> pixelsOf(double x1, double x2, double y, double ratio)
{
    if (!onFixedPointGrid(x1) || !onFixedPointGrid(x2) || !onFixedPointGrid(y) || ratio < 1.0)
        return std::nullopt;
    const double left = std::min(x1, x2);
    const double right = std::max(x1, x2);
    if (ratio == 1.0) {
        const int row = int(std::floor(y));
        return Pixels{row, row, int(std::floor(left + 0.5)), int(std::floor(right + 0.5)) - 1};
    }
    // An end exactly on a pixel centre is a tie that Qt's rasteriser settles by rounding
    // errors of its own, one way or the other; leave those lines to it. The rows keep to
    // the rule even then.
    for (const double edge : {ratio * left, ratio * right})
        if (edge - std::floor(edge) == 0.5)
            return std::nullopt;
    return Pixels{firstCentreAbove(ratio * (y - 0.5)), lastCentreAtOrBelow(ratio * (y + 0.5)),
                  firstCentreAbove(ratio * left), lastCentreAtOrBelow(ratio * right)};
}

std::optional<Pixels> reachOf(double x1, double x2, double y, double ratio)
{
    if (!onFixedPointGrid(x1) || !onFixedPointGrid(x2) || !onFixedPointGrid(y) || ratio <= 1.0)
        return std::nullopt;
    const double left = std::min(x1, x2);
    const double right = std::max(x1, x2);
    return Pixels{firstCentreAbove(ratio * (y - 0.5)), lastCentreAtOrBelow(ratio * (y + 0.5)),
                  firstCentreAbove(ratio * left) - 1, lastCentreAtOrBelow(ratio * right) + 1};
}

// A fixed-length chunk at a time, which the compiler turns into vector instructions.
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

void write(QRgb *pixels, int count, QRgb colour)
{
    std::fill_n(pixels, count, colour);
}

} // namespace HorizontalFill
