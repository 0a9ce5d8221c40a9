// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "thicknesspicture.h"

#include "thicknesspicture.xpm"

#include <QPainter>

#include <cmath>

namespace {

// The bitmap's two colours, from its palette lines ("# c #1f1a17"): ink first, then paper.
QRgb paletteColour(int line)
{
    return QColor::fromString(QLatin1String(thickness_xpm[line]).sliced(4)).rgb();
}
const QRgb Ink = paletteColour(1);
const QRgb Paper = paletteColour(2);

// As the bitmap has them, in its pixels: the baseline of the turned words runs down the
// column at 12, and they start at row 140 from its top and end just below row 5.
constexpr double Baseline = 12;
constexpr double TextStart = 140;
constexpr double TextLength = 135;
constexpr double CapHeight = 9;

} // namespace

QImage thicknessPicture(const QRect &place, qreal devicePixelRatio)
{
    if (devicePixelRatio == 1.0)
        return QImage(thickness_xpm);

    // The canvas fills a rectangle to the nearest device pixels of its edges; the picture
    // covers the same ones, so that hiding it leaves no trace.
    const auto edge = [devicePixelRatio](int logical) {
        return qRound(logical * devicePixelRatio);
    };
    const QSize size(edge(place.x() + place.width()) - edge(place.x()),
                     edge(place.y() + place.height()) - edge(place.y()));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Paper);

    const QString words = QStringLiteral("thickness of the glass");
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    // The largest whole pixel size whose capitals stand no taller than the bitmap's and
    // whose words run no longer; the spacing makes up the rest of the length.
    const double length = TextLength * devicePixelRatio;
    font.setPixelSize(qRound(CapHeight / 0.72 * devicePixelRatio));
    while (font.pixelSize() > 1 && QFontMetricsF(font).horizontalAdvance(words) > length)
        font.setPixelSize(font.pixelSize() - 1);
    font.setLetterSpacing(QFont::AbsoluteSpacing,
                          (length - QFontMetricsF(font).horizontalAdvance(words)) /
                              double(words.size()));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(QColor(Ink));
        painter.translate(std::round(Baseline * devicePixelRatio),
                          std::round(TextStart * devicePixelRatio));
        painter.rotate(-90);
        painter.drawText(QPointF(0, 0), words);
    }
    // Two colours only, whatever the font engine did at the glyphs' edges.
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qGray(line[x]) < 112 ? Ink : Paper;
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}
