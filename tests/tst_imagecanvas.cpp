// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "canvas/imagecanvas.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

namespace {

const QRgb Background = qRgb(192, 192, 192);

bool allBackground(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] != Background)
                return false;
    }
    return true;
}

QString firstDifference(const QImage &a, const QImage &b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("device pixel (%1, %2)").arg(x).arg(y);
    return {};
}

} // namespace

Q_DECLARE_METATYPE(StrokeColour)

class TestImageCanvas : public QObject
{
    Q_OBJECT

private slots:
    void erasingLeavesExactBackground_data();
    void erasingLeavesExactBackground();
    void horizontalLinesMatchQPainter_data();
    void horizontalLinesMatchQPainter();
    void lastPointOfALineIsNotPainted();
    void changedRegionCoversEveryStroke_data();
    void changedRegionCoversEveryStroke();
    void plottedPointIsSolid_data();
    void plottedPointIsSolid();
};

void TestImageCanvas::erasingLeavesExactBackground_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<StrokeColour>("eraser");
    // Whole and projector zooms: a fractional ratio puts stroke edges mid-pixel.
    for (qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        const QByteArray scale = QByteArray::number(ratio) + 'x';
        QTest::newRow(scale + ", grey") << ratio << StrokeColour::rgb(192, 192, 192);
        QTest::newRow(scale + ", inactive border") << ratio << StrokeColour::inactiveBorder();
        QTest::newRow(scale + ", button face") << ratio << StrokeColour::buttonFace();
    }
}

// The run erases by drawing the same stroke again in a colour equal to the background;
// that must leave not a single pixel behind, in any direction, width or fraction.
void TestImageCanvas::erasingLeavesExactBackground()
{
    QFETCH(qreal, ratio);
    QFETCH(StrokeColour, eraser);

    ImageCanvas canvas(QSize(200, 150), ratio);
    const StrokeColour inks[] = {StrokeColour::fore(), StrokeColour::rgb(255, 0, 0),
                                 StrokeColour::rgb(0, 255, 0), StrokeColour::rgb(255, 192, 192)};
    QRandomGenerator generator(20261208);
    auto *random = &generator;
    for (int i = 0; i < 300; ++i) {
        const int width = 1 + i % 3;
        const auto coordinate = [&](int limit) {
            return float(random->bounded(limit * 4)) / 4.0f - 10.0f;
        };
        const float x1 = coordinate(220), y1 = coordinate(170), x2 = coordinate(220),
                    y2 = coordinate(170);
        const bool horizontal = i % 5 == 0;
        const StrokeColour ink = inks[i % 4];

        canvas.setPenWidth(width);
        canvas.line(x1, y1, x2, horizontal ? y1 : y2, ink);
        canvas.line(x1, y1, x2, horizontal ? y1 : y2, eraser);
        if (i % 7 == 0) {
            canvas.circle(x1, y1, i % 2 ? 5 : 1, ink);
            canvas.circle(x1, y1, i % 2 ? 5 : 1, eraser);
        }
        if (!allBackground(canvas.image()))
            QFAIL(qPrintable(QStringLiteral("width %1 line (%2, %3)-(%4, %5) left a trace")
                                 .arg(width)
                                 .arg(x1)
                                 .arg(y1)
                                 .arg(x2)
                                 .arg(horizontal ? y1 : y2)));
    }
}

void TestImageCanvas::horizontalLinesMatchQPainter_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("1.25x") << 1.25;
    QTest::newRow("1.5x") << 1.5;
    QTest::newRow("1.75x") << 1.75;
    QTest::newRow("2x") << 2.0;
    QTest::newRow("3.5x") << 3.5;
}

// Thin horizontal lines are written into the rows by hand; they must give exactly the
// pixels of QPainter's aliased flat-capped line, for the run's own rows and ends (odd rows
// and odd ends fall on pixel centres at 1.5x) and for any position on a 1/64 grid, clipped
// or not.
void TestImageCanvas::horizontalLinesMatchQPainter()
{
    QFETCH(qreal, ratio);

    struct Line {
        float x1, x2, y;
    };
    std::vector<Line> lines = {
        {30, 400, 190.5f}, {30, 400, 491.5f},  {20, 400, 580},     {100, 795, 181},
        {100, 795, -19},   {400, 30, 250.5f},  {-5, 805, 0},       {0, 800, 580.5f},
        {30, 30, 100},     {399.5f, 400, 50},  {100, 795, 581},    {100, 795, 580.99f},
        {30, 400, 191.5f}, {215, 401, 192.5f}, {421, 215, 193.5f}, {29.5f, 30.5f, 194},
    };
    QRandomGenerator generator(20261208);
    auto *random = &generator;
    for (int i = 0; i < 2000; ++i) {
        const auto grid = [&](int from, int to) {
            return float(from + random->bounded((to - from) * 64) / 64.0);
        };
        lines.push_back({grid(-20, 820), grid(-20, 820), grid(-30, 600)});
    }

    ImageCanvas canvas(QSize(800, 581), ratio);
    QImage plain = canvas.image();
    const StrokeColour inks[] = {StrokeColour::fore(), StrokeColour::rgb(192, 255, 255),
                                 StrokeColour::inactiveBorder()};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line &line = lines[i];
        canvas.line(line.x1, line.y, line.x2, line.y, inks[i % 3]);
        {
            QPainter painter(&plain);
            painter.setPen(QPen(QColor(inks[i % 3].resolved()), 1, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QPointF(line.x1, line.y), QPointF(line.x2, line.y));
        }
        if (canvas.image() != plain)
            QFAIL(qPrintable(QStringLiteral("line %1 (%2..%3 at %4) differs at %5")
                                 .arg(i)
                                 .arg(line.x1)
                                 .arg(line.x2)
                                 .arg(line.y)
                                 .arg(firstDifference(canvas.image(), plain))));
    }
}

// A line that ends where a picture stands must not reach into it: with flat caps the
// sheet's lines to x = 400 stop at column 399.
void TestImageCanvas::lastPointOfALineIsNotPainted()
{
    ImageCanvas canvas(QSize(800, 581));
    canvas.line(30, 300.5f, 400, 300.5f);
    canvas.line(10, 10, 10, 40);
    QCOMPARE(canvas.image().pixel(399, 300), qRgb(0, 0, 0));
    QCOMPARE(canvas.image().pixel(400, 300), Background);
    QCOMPARE(canvas.image().pixel(30, 300), qRgb(0, 0, 0));
    QCOMPARE(canvas.image().pixel(10, 39), qRgb(0, 0, 0));
    QCOMPARE(canvas.image().pixel(10, 40), Background);
}

void TestImageCanvas::changedRegionCoversEveryStroke_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1.5x") << 1.5;
    QTest::newRow("2x") << 2.0;
    QTest::newRow("3.5x") << 3.5;
}

void TestImageCanvas::changedRegionCoversEveryStroke()
{
    QFETCH(qreal, ratio);
    ImageCanvas canvas(QSize(800, 581), ratio);
    QImage before = canvas.image();
    canvas.setPenWidth(3);
    canvas.line(470, 110.5f, 520, 110.5f);
    canvas.setPenWidth(1);
    for (int k = 1; k <= 50; ++k)
        canvas.line(30, 190.5f + k, 400, 190.5f + k);
    canvas.setPenWidth(2);
    canvas.circle(620, 230.5f, 1, StrokeColour::rgb(0, 0, 255));
    const QRegion changed = canvas.takeChanged();
    QVERIFY(canvas.takeChanged().isEmpty());

    const QImage &after = canvas.image();
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y) &&
                !changed.contains(QPoint(int(x / ratio), int(y / ratio))))
                QFAIL(qPrintable(QStringLiteral("device pixel (%1, %2) changed outside the region")
                                     .arg(x)
                                     .arg(y)));
    // The fifty rows merge into one rectangle rather than one each; the circle beside them
    // splits it into a few bands.
    QVERIFY(changed.rectCount() <= 8);

    // The same strokes again change no pixel, so nothing is to be put on the screen.
    canvas.setPenWidth(1);
    for (int k = 1; k <= 50; ++k)
        canvas.line(30, 190.5f + k, 400, 190.5f + k);
    canvas.setPenWidth(2);
    canvas.circle(620, 230.5f, 1, StrokeColour::rgb(0, 0, 255));
    QVERIFY(canvas.takeChanged().isEmpty());

    // Painting over a rectangle, as a label does, counts only where it changed something.
    const auto fill = [](QColor colour) {
        return [colour](QPainter &painter) { painter.fillRect(QRect(600, 20, 40, 10), colour); };
    };
    canvas.paintOver(QRect(600, 20, 40, 10), fill(QColor(Background)));
    QVERIFY(canvas.takeChanged().isEmpty());
    canvas.paintOver(QRect(600, 20, 40, 10), fill(Qt::red));
    QCOMPARE(canvas.takeChanged().boundingRect(), QRect(600, 20, 40, 10));

    // A long diagonal is sent as bands along it, far less than its bounding box.
    canvas.setPenWidth(1);
    canvas.line(30, 90.5f, 215, 490.5f);
    int area = 0;
    for (const QRect &rect : canvas.takeChanged())
        area += rect.width() * rect.height();
    QVERIFY2(area > 400 && area < 185 * 400 / 10, qPrintable(QString::number(area)));
}

void TestImageCanvas::plottedPointIsSolid_data()
{
    QTest::addColumn<qreal>("ratio");
    for (qreal ratio = 1.0; ratio <= 4.0; ratio += 0.25)
        QTest::newRow(QByteArray::number(ratio) + 'x') << ratio;
}

// A plotted point, a circle of radius 1 drawn with a pen 2 wide, is a dot without a hole
// wherever it lands: the run puts it at whole rows and at any fraction across.
void TestImageCanvas::plottedPointIsSolid()
{
    QFETCH(qreal, ratio);
    ImageCanvas canvas(QSize(120, 320), ratio);
    canvas.setPenWidth(2);
    for (int row = 10; row < 310; ++row) {
        const float x = 10.0f + float(row) * 0.3137f;
        canvas.circle(x, row, 1, StrokeColour::rgb(255, 0, 0));
        const QImage &image = canvas.image();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint inside(int(std::floor((x + dx * 0.4) * ratio)),
                                    int(std::floor((row + dy * 0.4) * ratio)));
                if (image.pixel(inside) != qRgb(255, 0, 0))
                    QFAIL(qPrintable(QStringLiteral("a hole at device pixel (%1, %2) in the point "
                                                    "at (%3, %4)")
                                         .arg(inside.x())
                                         .arg(inside.y())
                                         .arg(x)
                                         .arg(row)));
            }
        canvas.circle(x, row, 1, StrokeColour::rgb(192, 192, 192));
        QVERIFY(allBackground(canvas.image()));
    }
}

QTEST_GUILESS_MAIN(TestImageCanvas)
#include "tst_imagecanvas.moc"
