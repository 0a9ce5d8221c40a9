// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QRgb>

#include <algorithm>
#include <bit>
#include <utility>
#include <vector>

// What the last horizontal fill wrote in each device row, and which 64ths of the row other
// strokes have painted since. Every step of a run fills the sheet again, row by row, as it
// already is but where the paths crossed it; a row filled again as it was is looked at only
// in the 64ths other strokes soiled, which spares reading the whole sheet in every step.
class RowFills
{
public:
    explicit RowFills(QSize deviceSize)
        : m_fills(std::size_t(deviceSize.height()))
        , m_dirt(std::size_t(deviceSize.height()))
        , m_chunk((deviceSize.width() + 63) / 64)
        , m_width(deviceSize.width())
    {}

    // Marks the 64ths of the rows that a stroke other than a fill may have painted.
    void soil(const QRect &deviceRect)
    {
        const QRect rect = deviceRect.intersected(QRect(0, 0, m_width, int(m_fills.size())));
        if (rect.isEmpty())
            return;
        const int firstChunk = rect.left() / m_chunk;
        const int lastChunk = rect.right() / m_chunk;
        const quint64 bits =
            (lastChunk - firstChunk >= 63 ? ~quint64(0)
                                          : ((quint64(1) << (lastChunk - firstChunk + 1)) - 1))
            << firstChunk;
        for (int row = rect.top(); row <= rect.bottom(); ++row)
            m_dirt[std::size_t(row)] |= bits;
    }

    // The row is to hold the colour from column first to last: calls write(from, to) for
    // the columns that may differ, all of them unless the row was filled so last and no
    // stroke has soiled it since.
    template <typename Write> void fill(int row, int first, int last, QRgb colour, Write write)
    {
        Fill &record = m_fills[std::size_t(row)];
        const Fill fill{first, last, colour};
        if (record != fill) {
            write(first, last);
            record = fill;
            m_dirt[std::size_t(row)] = 0;
            return;
        }
        quint64 dirty = std::exchange(m_dirt[std::size_t(row)], 0);
        while (dirty != 0) {
            // A run of dirty chunks, filled as one span.
            const int chunk = std::countr_zero(dirty);
            const int end = chunk + std::countr_one(dirty >> chunk) - 1;
            const int from = std::max(first, chunk * m_chunk);
            const int to = std::min(last, (end + 1) * m_chunk - 1);
            if (from <= to)
                write(from, to);
            dirty = end == 63 ? 0 : dirty & (~quint64(0) << (end + 1));
        }
    }

private:
    struct Fill {
        int first = 0;
        int last = -1;
        QRgb colour = 0;
        bool operator==(const Fill &) const = default;
    };

    std::vector<Fill> m_fills;
    std::vector<quint64> m_dirt;
    // Device pixels in a 64th of a row.
    int m_chunk = 1;
    int m_width = 0;
};
