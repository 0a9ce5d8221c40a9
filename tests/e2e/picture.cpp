// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture.h"

#include <QLineF>

#include <algorithm>
#include <cmath>
#include <optional>

namespace Pict {

namespace {

// The graph: right of the sheet and the thickness picture, from just above the top axis
// (below the curve's label) to below the end of the reference lines.
constexpr QRect GraphArea{417, 189, 383, 357};
constexpr double GraphLeft = 420;
constexpr double GraphTop = 190.5;
constexpr double GraphBottom = 540.5;
constexpr int LastThickness = 300;

// The device pixels whose centres lie in the logical rectangle.
QRect device(const QRect &logical, double scale, const QImage &image)
{
    const auto first = [scale](int edge) { return int(std::ceil(edge * scale - 0.5)); };
    return QRect(QPoint(first(logical.left()), first(logical.top())),
                 QPoint(first(logical.left() + logical.width()) - 1,
                        first(logical.top() + logical.height()) - 1))
        .intersected(image.rect());
}

QRgb at(const QImage &image, int x, int y)
{
    return image.pixel(x, y) | 0xff000000u;
}

bool isDark(QRgb pixel)
{
    return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 100;
}

QString colourName(QRgb colour)
{
    switch (colour | 0xff000000u) {
    case Red:
        return QStringLiteral("red");
    case Green:
        return QStringLiteral("green");
    case Blue:
        return QStringLiteral("blue");
    case Black:
        return QStringLiteral("black");
    default:
        return QStringLiteral("#%1").arg(colour & 0xffffffu, 6, 16, QLatin1Char('0'));
    }
}

QString describe(const RunSettings &settings)
{
    return QStringLiteral("frequency %1, length %2").arg(settings.frequency).arg(settings.length);
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double lengthSquared = QPointF::dotProduct(ab, ab);
    double t = lengthSquared > 0 ? QPointF::dotProduct(p - a, ab) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF nearest = a + t * ab;
    return QLineF(p, nearest).length();
}

// The logical position of a device pixel's centre.
QPointF centreOf(int x, int y, double scale)
{
    return QPointF((x + 0.5) / scale, (y + 0.5) / scale);
}

// Whether a point of the curve lies within `radius` logical pixels of p.
bool nearCurve(const Curve &curve, QPointF p, double radius)
{
    const int middle = int(std::floor(p.y() - GraphTop));
    for (int t = std::max(0, middle - 4); t <= std::min(LastThickness, middle + 4); ++t) {
        const QPointF centre(GraphLeft + plotX(curve.settings, t), GraphTop + t);
        if (QLineF(p, centre).length() <= radius)
            return true;
    }
    return false;
}

// Fraction of the rows from top to bottom (device) in which column x is black.
double blackFraction(const QImage &image, int x, int top, int bottom)
{
    if (x < 0 || x >= image.width())
        return 0;
    int black = 0;
    for (int y = top; y <= bottom; ++y)
        black += at(image, x, y) == Black;
    return double(black) / std::max(1, bottom - top + 1);
}

// The device columns whose centres lie within a logical pixel of x.
QList<int> columnsNear(double x, int scale)
{
    QList<int> columns;
    for (int column = int(std::floor((x - 1) * scale)) - 1; column <= int((x + 1) * scale) + 1;
         ++column) {
        if (std::abs((column + 0.5) / scale - x) <= 1.0)
            columns << column;
    }
    return columns;
}

} // namespace

bool isChosen(const QImage &image, int scale, const OptionButton &option)
{
    // The indicator sits at the left, centred on the caption's height; the chosen one has
    // a dark dot in its middle.
    const QPointF centre(option.rect.x() + 7.0, option.rect.y() + option.rect.height() / 2.0);
    const int cx = int(centre.x() * scale);
    const int cy = int(centre.y() * scale);
    int dark = 0;
    for (int y = cy - scale; y <= cy + scale; ++y) {
        for (int x = cx - scale; x <= cx + scale; ++x)
            dark += image.rect().contains(x, y) && isDark(at(image, x, y));
    }
    return dark >= 2;
}

bool isWhiteInside(const QImage &image, int scale, const OptionButton &option)
{
    const QPointF centre(option.rect.x() + 7.0, option.rect.y() + option.rect.height() / 2.0);
    const int cx = int(centre.x() * scale);
    const int cy = int(centre.y() * scale);
    for (int y = cy - 2 * scale; y <= cy + 2 * scale; ++y) {
        for (int x = cx - 2 * scale; x <= cx + 2 * scale; ++x) {
            if (!image.rect().contains(x, y) || at(image, x, y) != 0xffffffffu)
                return false;
        }
    }
    return true;
}

Problems checkFrame(const QImage &image, int scale, const Frame &frame)
{
    const QString name = QStringLiteral("frame \"%1\": ").arg(QString::fromUtf8(frame.title));
    const QRect d = device(frame.rect, scale, image);
    // The etched line: dark grey with white beside it.
    constexpr QRgb Shadow = 0xff808080;
    const auto isLine = [&](int x, int y) {
        const QRgb pixel = at(image, x, y);
        return pixel == Shadow || pixel == 0xffffffffu;
    };
    // Each side's line is the first dark grey met from the frame's edge inwards; the top
    // one is looked for left of the title, which starts some pixels in.
    const int reach = 4 * scale;
    const auto first = [&](QPoint from, QPoint step, int count) -> std::optional<QPoint> {
        for (QPoint p = from; count-- > 0; p += step) {
            if (image.rect().contains(p) && at(image, p.x(), p.y()) == Shadow)
                return p;
        }
        return std::nullopt;
    };
    const auto top = first({d.left() + 3 * scale, d.top()}, {0, 1}, d.height() / 2);
    const auto left = first({d.left(), d.center().y()}, {1, 0}, reach);
    const auto right = first({d.right(), d.center().y()}, {-1, 0}, reach);
    const auto bottom = first({d.center().x(), d.bottom()}, {0, -1}, reach);
    if (!top || !left || !right || !bottom)
        return {name + QStringLiteral("its border line is missing on a side")};
    const int bT = top->y();
    const int bL = left->x();
    const int bR = right->x();
    const int bB = bottom->y();

    Problems problems;
    for (int y = bT; y <= bB; ++y) {
        if (!isLine(bL, y) || !isLine(bR, y)) {
            problems << name + QStringLiteral("a side line is broken at y %1").arg(y / scale);
            break;
        }
    }
    for (int x = bL; x <= bR; ++x) {
        if (!isLine(x, bB)) {
            problems << name + QStringLiteral("the bottom line is broken at x %1").arg(x / scale);
            break;
        }
    }
    // The top line leaves a gap for the title alone.
    int gapLeft = bL;
    while (gapLeft < bR && isLine(gapLeft, bT))
        ++gapLeft;
    int gapRight = bR;
    while (gapRight > gapLeft && isLine(gapRight, bT))
        --gapRight;
    int inkTop = -1;
    int inkBottom = -1;
    for (int y = d.top(); y <= bT + 12 * scale && (inkTop < 0 || inkBottom == y - 1); ++y) {
        for (int x = gapLeft; x <= gapRight; ++x) {
            if (isDark(at(image, x, y))) {
                if (inkTop < 0)
                    inkTop = y;
                inkBottom = y;
                break;
            }
        }
    }
    if (inkTop < 0)
        return problems << name + QStringLiteral("no title in the top line's gap");
    int inkLeft = gapRight;
    int inkRight = gapLeft;
    for (int y = inkTop; y <= inkBottom; ++y) {
        for (int x = gapLeft; x <= gapRight; ++x) {
            if (isDark(at(image, x, y))) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
        }
    }
    // Room for a little padding, and for the trailing space of "Relative length ".
    if (inkLeft - gapLeft > 4 * scale || gapRight - inkRight > 10 * scale)
        problems << name +
                        QStringLiteral("the top line is broken beyond the title, from x %1 to %2 "
                                       "with the title from %3 to %4")
                            .arg(gapLeft / scale)
                            .arg(gapRight / scale)
                            .arg(inkLeft / scale)
                            .arg(inkRight / scale);
    // The middle half of the title from its capitals' tops to its descenders' ends.
    const int span = inkBottom - inkTop;
    if (4 * (bT - inkTop) < span || 4 * (inkBottom - bT) < span)
        problems << name + QStringLiteral("the top line at y %1 does not run through the middle "
                                          "of the title, which spans y %2 to %3")
                               .arg(bT / scale)
                               .arg(inkTop / scale)
                               .arg(inkBottom / scale);
    // Outside the line (and its white beside it) only the title, on grey.
    int outside = 0;
    for (int y = d.top(); y <= d.bottom(); ++y) {
        for (int x = d.left(); x <= d.right(); ++x) {
            const bool inside = x >= bL && x <= bR + scale && y >= bT && y <= bB + scale;
            const bool title = x >= gapLeft && x <= gapRight && y < bT;
            outside += !inside && !title && at(image, x, y) != Grey;
        }
    }
    if (outside > 0)
        problems << name + QStringLiteral("%1 pixels outside its line are not grey").arg(outside);
    return problems;
}

double plotX(const RunSettings &settings, int thickness)
{
    const double phaseStep = 1.57041 / 100 * 5 * settings.frequency;
    const double back = 50 * settings.length;
    const double angle = phaseStep * thickness;
    const double across = back * std::cos(angle) - 50;
    const double up = back * std::sin(angle);
    return 0.02 * (across * across + up * up);
}

double maximumLineX(const RunSettings &settings)
{
    const double sum = 50 + 50 * settings.length;
    return GraphLeft + 0.02 * sum * sum;
}

double halfMaximumLineX(const RunSettings &settings)
{
    const double sum = 50 + 50 * settings.length;
    return GraphLeft + 0.01 * sum * sum;
}

Problems checkCurve(const QImage &image, double scale, const Curve &curve,
                    const std::vector<Curve> &others, bool checkStrayPixels)
{
    Problems problems;
    const QString name =
        QStringLiteral("%1 curve (%2)").arg(colourName(curve.colour), describe(curve.settings));

    // Every point: a pixel of its colour on its row within a pixel of where it belongs.
    QStringList missing;
    for (int t = 0; t <= LastThickness; ++t) {
        const double cx = GraphLeft + plotX(curve.settings, t);
        const double cy = GraphTop + t;
        const int row = int(std::floor(cy * scale));
        const int from = int(std::floor((cx - 1) * scale)) - 1;
        const int to = int(std::ceil((cx + 1) * scale)) + 1;
        bool found = false;
        for (int x = std::max(0, from); x <= std::min(image.width() - 1, to) && !found; ++x)
            found = at(image, x, row) == curve.colour;
        if (found)
            continue;
        // A point plotted later on the same spot may hide it.
        const bool hidden = std::any_of(others.begin(), others.end(), [&](const Curve &other) {
            return other.colour != curve.colour && nearCurve(other, QPointF(cx, cy), 3.5);
        });
        if (!hidden)
            missing
                << QStringLiteral("thickness %1 (x %2, y %3)").arg(t).arg(cx, 0, 'f', 2).arg(cy);
    }
    if (!missing.isEmpty())
        problems << QStringLiteral("%1: %2 of 301 points missing, first %3")
                        .arg(name)
                        .arg(missing.size())
                        .arg(missing.mid(0, 4).join(QStringLiteral("; ")));

    if (!checkStrayPixels)
        return problems;
    // Every pixel of the colour: part of some point of this or another curve of the colour.
    const QRect area = device(GraphArea, scale, image);
    int stray = 0;
    QPoint firstStray;
    const double reach = 2.0 + 1.0 / scale;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (at(image, x, y) != curve.colour)
                continue;
            const QPointF p = centreOf(x, y, scale);
            if (nearCurve(curve, p, reach))
                continue;
            const bool explained =
                std::any_of(others.begin(), others.end(), [&](const Curve &other) {
                    return other.colour == curve.colour && nearCurve(other, p, reach);
                });
            if (!explained && stray++ == 0)
                firstStray = QPoint(x, y);
        }
    }
    if (stray)
        problems << QStringLiteral("%1: %2 pixels of its colour off the curve, first at device "
                                   "(%3, %4)")
                        .arg(name)
                        .arg(stray)
                        .arg(firstStray.x())
                        .arg(firstStray.y());
    return problems;
}

Problems checkNoCurve(const QImage &image, int scale, QRgb colour)
{
    const int count = countColour(image, scale, GraphArea, colour);
    if (count == 0)
        return {};
    return {QStringLiteral("%1 %2 pixels on the graph, expected none")
                .arg(count)
                .arg(colourName(colour))};
}

Problems checkVerticalLine(const QImage &image, int scale, double x, double top, double bottom,
                           const QString &name)
{
    const int firstRow = int((top + 4) * scale);
    const int lastRow = int((bottom - 4) * scale);
    QList<int> columns;
    for (const int column : columnsNear(x, scale)) {
        // Curve points cross the line here and there.
        if (blackFraction(image, column, firstRow, lastRow) >= 0.75)
            columns << column;
    }
    const bool oneLine = columns.size() == scale && columns.last() - columns.first() == scale - 1;
    if (!oneLine) {
        QStringList found;
        for (int column : columns)
            found << QString::number(column);
        return {QStringLiteral("%1 at x %2: expected one line %3 device pixel(s) wide, found "
                               "black columns [%4]")
                    .arg(name)
                    .arg(x)
                    .arg(scale)
                    .arg(found.join(u','))};
    }
    // It stops at its lower end.
    const int below = int(std::ceil((bottom + 2) * scale));
    for (int column : columns) {
        if (below < image.height() && at(image, column, below) == Black)
            return {QStringLiteral("%1 at x %2 runs on below y %3").arg(name).arg(x).arg(bottom)};
    }
    return {};
}

Problems checkNoVerticalLine(const QImage &image, int scale, double x, double top, double bottom,
                             const QString &name)
{
    const int firstRow = int((top + 4) * scale);
    const int lastRow = int((bottom - 4) * scale);
    for (const int column : columnsNear(x, scale)) {
        if (blackFraction(image, column, firstRow, lastRow) >= 0.5)
            return {QStringLiteral("%1 at x %2 is still there (device column %3)")
                        .arg(name)
                        .arg(x)
                        .arg(column)};
    }
    return {};
}

Problems checkReferenceLines(const QImage &image, int scale, const RunSettings &settings,
                             const QString &which, bool present)
{
    const auto check = present ? checkVerticalLine : checkNoVerticalLine;
    const QString prefix = which.isEmpty() ? QString() : which + u' ';
    return check(image, scale, maximumLineX(settings), GraphTop, GraphBottom,
                 prefix + QStringLiteral("maximum line")) +
           check(image, scale, halfMaximumLineX(settings), GraphTop, GraphBottom,
                 prefix + QStringLiteral("half-maximum line"));
}

Problems checkTopAxis(const QImage &image, int scale)
{
    const int from = 425 * scale;
    const int to = 775 * scale;
    QList<int> rows;
    for (int y = 188 * scale; y < 193 * scale; ++y) {
        int black = 0;
        for (int x = from; x <= to; ++x)
            black += at(image, x, y) == Black;
        if (black == to - from + 1)
            rows << y;
    }
    if (rows.size() != scale)
        return {QStringLiteral("top axis at y 190.5: expected one black row %1 device pixel(s) "
                               "high from x 425 to 775, found %2")
                    .arg(scale)
                    .arg(rows.size())};
    Problems problems;
    if (at(image, 782 * scale, rows.first()) == Black)
        problems << QStringLiteral("top axis runs on beyond x 780");
    if (at(image, 418 * scale, rows.first()) == Black)
        problems << QStringLiteral("top axis starts left of x 420");
    return problems;
}

Problems checkSheet(const QImage &image, int scale)
{
    Problems problems;
    const QRect sheet = device(QRect(30, 191, 370, 301), scale, image);
    int other = 0;
    int crowdedRows = 0;
    int cyan = 0;
    for (int y = sheet.top(); y <= sheet.bottom(); ++y) {
        int black = 0;
        for (int x = sheet.left(); x <= sheet.right(); ++x) {
            const QRgb pixel = at(image, x, y);
            black += pixel == Black;
            cyan += pixel == Cyan;
            other += pixel != Black && pixel != Cyan;
        }
        // The two legs of the back path and nothing more.
        crowdedRows += black > 8 * scale;
    }
    if (other)
        problems << QStringLiteral("sheet: %1 pixels neither light cyan nor black").arg(other);
    if (crowdedRows)
        problems
            << QStringLiteral("sheet: %1 rows with more black than the back path").arg(crowdedRows);
    if (cyan < sheet.width() * sheet.height() * 95 / 100)
        problems << QStringLiteral("sheet: only %1 of %2 pixels light cyan")
                        .arg(cyan)
                        .arg(sheet.width() * sheet.height());
    // Nothing cyan around it: not on the front surface's row nor below row 491, nor left of
    // x 30 or at x 400.
    const int outside = countColour(image, scale, QRect(30, 190, 370, 1), Cyan) +
                        countColour(image, scale, QRect(20, 492, 400, 20), Cyan) +
                        countColour(image, scale, QRect(20, 185, 10, 320), Cyan) +
                        countColour(image, scale, QRect(400, 185, 20, 320), Cyan);
    if (outside)
        problems << QStringLiteral("sheet: %1 light cyan pixels outside rows 191-491, x 30-399")
                        .arg(outside);
    return problems;
}

Problems checkLabel(const QImage &image, int scale, const QRect &rect, const QString &name)
{
    const QRect expected = device(rect, scale, image);
    const QRect search = device(rect.adjusted(-5, -5, 4, 2), scale, image);
    QRect ink;
    for (int y = search.top(); y <= search.bottom(); ++y) {
        for (int x = search.left(); x <= search.right(); ++x) {
            if (isDark(at(image, x, y)))
                ink |= QRect(x, y, 1, 1);
        }
    }
    if (ink.isEmpty())
        return {QStringLiteral("label \"%1\" not shown at (%2, %3)")
                    .arg(name)
                    .arg(rect.x())
                    .arg(rect.y())};
    Problems problems;
    // Half-pixel positions may round either way.
    if (!expected.adjusted(-scale, -scale, scale, scale).contains(ink))
        problems << QStringLiteral("label \"%1\": its text spreads over device (%2,%3 %4x%5), "
                                   "outside its rectangle (%6,%7 %8x%9)")
                        .arg(name)
                        .arg(ink.x())
                        .arg(ink.y())
                        .arg(ink.width())
                        .arg(ink.height())
                        .arg(expected.x())
                        .arg(expected.y())
                        .arg(expected.width())
                        .arg(expected.height());
    if (ink.left() - expected.left() > 3 * scale + 1 || ink.top() - expected.top() > 4 * scale + 1)
        problems << QStringLiteral("label \"%1\": text starts at device (%2, %3), not at the "
                                   "rectangle's top-left corner (%4, %5)")
                        .arg(name)
                        .arg(ink.left())
                        .arg(ink.top())
                        .arg(expected.left())
                        .arg(expected.top());
    return problems;
}

Problems checkPicture(const QImage &image, int scale)
{
    Problems problems;
    const int area = PictureRect.width() * PictureRect.height() * scale * scale;
    const int ink = countColour(image, scale, PictureRect, PictureInk);
    const int paper = countColour(image, scale, PictureRect, PicturePaper);
    if (ink + paper != area)
        problems << QStringLiteral("thickness picture: %1 of its %2 pixels are of neither of its "
                                   "two colours")
                        .arg(area - ink - paper)
                        .arg(area);
    if (ink < area / 20 || ink > area / 2)
        problems << QStringLiteral("thickness picture: %1 dark pixels of %2 do not look like its "
                                   "lettering")
                        .arg(ink)
                        .arg(area);
    // It ends where its rectangle ends.
    const QRect around = PictureRect.adjusted(-1, -1, 1, 1);
    const int spill = countColour(image, scale, around, PicturePaper) - paper;
    if (spill)
        problems << QStringLiteral("thickness picture: %1 pixels of its paper outside (400, 296) "
                                   "16x143")
                        .arg(spill);
    return problems;
}

Problems checkErasing(const QImage &image, int scale, const RunSettings &settings)
{
    Problems problems;
    const double phase = 1.57041 / 100 * 5 * settings.frequency * LastThickness;
    const double back = 50 * settings.length;
    const QPointF pivot(520, 110.5);
    const QPointF tip(520 - back * std::cos(phase), 110.5 - back * std::sin(phase));
    const double reach = 1.5 + 1.0 / scale;

    // The dial: the back arrows of the earlier steps were erased one by one.
    const QRect dial = device(QRect(415, 50, 185, 125), scale, image);
    int strayRed = 0;
    for (int y = dial.top(); y <= dial.bottom(); ++y) {
        for (int x = dial.left(); x <= dial.right(); ++x) {
            if (at(image, x, y) == Red &&
                distanceToSegment(centreOf(x, y, scale), pivot, tip) > reach)
                ++strayRed;
        }
    }
    if (strayRed)
        problems << QStringLiteral("dial: %1 red pixels off the last back arrow").arg(strayRed);

    // Above the sheet: the back paths of the earlier steps were erased as the sheet grew.
    const QPointF source(30, 90.5);
    const QPointF detector(400, 90.5);
    const QPointF front(215, 190.5);
    const QPointF lastBack(215, 489.5);
    const QRect above = device(QRect(40, 133, 351, 56), scale, image);
    int strayBlack = 0;
    for (int y = above.top(); y <= above.bottom(); ++y) {
        for (int x = above.left(); x <= above.right(); ++x) {
            if (at(image, x, y) != Black)
                continue;
            const QPointF p = centreOf(x, y, scale);
            const double nearest = std::min(
                {distanceToSegment(p, source, front), distanceToSegment(p, front, detector),
                 distanceToSegment(p, source, lastBack), distanceToSegment(p, lastBack, detector)});
            strayBlack += nearest > reach;
        }
    }
    if (strayBlack)
        problems << QStringLiteral("above the sheet: %1 black pixels off the light paths")
                        .arg(strayBlack);
    return problems;
}

Problems checkRunEnd(const QImage &image, int scale)
{
    Problems problems = checkSheet(image, scale);
    problems += checkPicture(image, scale);
    problems += checkLabel(image, scale, SourceLabel, QStringLiteral("Source"));
    problems += checkLabel(image, scale, DetectorLabel, QStringLiteral("Detector"));
    problems +=
        checkLabel(image, scale, PatternLabel, QStringLiteral("Interfernce pattern (probability)"));
    return problems;
}

bool runLooksComplete(const QImage &image, double scale)
{
    for (const QPoint p : {QPoint(100, 491), QPoint(60, 200), QPoint(380, 480)}) {
        if (at(image, int(p.x() * scale), int(p.y() * scale)) != Cyan)
            return false;
    }
    const double area = PictureRect.width() * PictureRect.height() * scale * scale;
    return countColour(image, scale, PictureRect, PicturePaper) > area / 3;
}

bool hasDarkPixels(const QImage &image, double scale, const QRect &logical)
{
    const QRect rect = device(logical, scale, image);
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (isDark(at(image, x, y)))
                return true;
        }
    }
    return false;
}

int countColour(const QImage &image, double scale, const QRect &logical, QRgb colour)
{
    const QRect rect = device(logical, scale, image);
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += at(image, x, y) == (colour | 0xff000000u);
    }
    return count;
}

int countOther(const QImage &image, double scale, const QRect &logical, QRgb colour)
{
    const QRect rect = device(logical, scale, image);
    return rect.width() * rect.height() - countColour(image, scale, logical, colour);
}

int countNotIn(const QImage &image, double scale, const QRect &logical, const QList<QRgb> &colours)
{
    const QRect rect = device(logical, scale, image);
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += !colours.contains(at(image, x, y));
    }
    return count;
}

int mixedBlocks(const QImage &image, int scale, const QRect &logical)
{
    const QRect rect = device(logical, scale, image);
    int mixed = 0;
    for (int y = rect.top(); y + scale - 1 <= rect.bottom(); y += scale) {
        for (int x = rect.left(); x + scale - 1 <= rect.right(); x += scale) {
            const QRgb first = at(image, x, y);
            bool uniform = true;
            for (int dy = 0; dy < scale && uniform; ++dy) {
                for (int dx = 0; dx < scale && uniform; ++dx)
                    uniform = at(image, x + dx, y + dy) == first;
            }
            mixed += !uniform;
        }
    }
    return mixed;
}

} // namespace Pict
