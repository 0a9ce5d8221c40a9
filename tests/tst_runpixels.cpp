// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recordingcanvas.h"

#include "canvas/imagecanvas.h"
#include "run/reflectionrun.h"

#include <QPainter>
#include <QTest>

#include <cmath>

namespace {

const QRgb Grey = qRgb(192, 192, 192);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Cyan = qRgb(192, 255, 255);

// The colour at a logical position, read from the middle of its device pixels.
QRgb at(const QImage &image, double x, double y)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixel(int(std::floor(x * ratio + ratio / 2 - 0.5)),
                       int(std::floor(y * ratio + ratio / 2 - 0.5)));
}

double expectedPlotX(int T, double frequency)
{
    const double a = 0.0785205 * frequency * T;
    return 0.02 * (2500 + 2500 - 5000 * std::cos(a));
}

// Whether a pixel of the colour lies within a pixel of the logical position.
bool near(const QImage &image, double x, double y, QRgb colour)
{
    for (double dy : {-1.0, 0.0, 1.0})
        for (double dx : {-1.0, 0.0, 1.0})
            if (at(image, x + dx, y + dy) == colour)
                return true;
    return false;
}

} // namespace

class TestRunPixels : public QObject
{
    Q_OBJECT

private slots:
    void finishedPicture_data();
    void finishedPicture();
    void secondRunKeepsOrWipesTheCurve_data();
    void secondRunKeepsOrWipesTheCurve();
};

void TestRunPixels::finishedPicture_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("1.5x") << 1.5;
    QTest::newRow("2x") << 2.0;
}

void TestRunPixels::finishedPicture()
{
    QFETCH(qreal, ratio);
    MemorySettingsStore store;
    RecordingCanvas host;
    ImageCanvas canvas(QSize(800, 581), ratio);
    ReflectionRun(store, canvas, host, host, host, host).run();
    const QImage &image = canvas.image();
    const QRgb green = qRgb(0, 255, 0);

    // The curve: each row's point at 420 + PlotX, within a pixel.
    for (int T : {0, 13, 40, 80, 120, 199, 260, 300})
        QVERIFY2(near(image, 420 + expectedPlotX(T, 1), 190.5 + T, green),
                 qPrintable(QStringLiteral("no curve point for thickness %1").arg(T)));
    // Reference lines and the vertical axis, where the curve is far away.
    for (double x : {420.0, 520.0, 620.0})
        QCOMPARE(at(image, x, 535), Black);
    // The sheet, from the row below the front surface to one row below the last back one.
    for (double y : {191.5, 300.5, 490.5, 491.5})
        for (double x : {30.5, 215.0 + 80, 399.5})
            QCOMPARE(at(image, x, y), Cyan);
    QCOMPARE(at(image, 100.5, 492.5), Grey);
    QCOMPARE(at(image, 400.5, 300.5), Grey);
    // The redrawn back path crosses the sheet, one pixel wide.
    QCOMPARE(at(image, 215, 489), Black);
    // Each step's erasing lines cross the front surface a little further out, so only its
    // two ends survive.
    QCOMPARE(at(image, 40, 190.5), Black);
    QCOMPARE(at(image, 390, 190.5), Black);
    QCOMPARE(at(image, 150, 190.5), Grey);
    QCOMPARE(at(image, 280, 190.5), Grey);
    // The dial's last resultant is green, over a fan of pale traces.
    QCOMPARE(at(image, 470, 60.5), Black);
    QVERIFY(near(image, 495, 100, qRgb(255, 192, 192)));

    // The same strokes through QPainter alone, one by one: the canvas's own row writing and
    // what it skips must not change a single pixel.
    MemorySettingsStore sameStore;
    RecordingCanvas strokes;
    ReflectionRun(sameStore, strokes, strokes, strokes, strokes, strokes).run();
    QImage painted(image.size(), QImage::Format_RGB32);
    painted.setDevicePixelRatio(ratio);
    painted.fill(Grey);
    {
        QPainter painter(&painted);
        int width = 1;
        for (const Call &call : strokes.calls) {
            painter.setPen(QPen(QColor(call.colour.resolved()), width, Qt::SolidLine, Qt::FlatCap));
            if (call.kind == Call::Kind::PenWidth)
                width = call.value;
            else if (call.kind == Call::Kind::Line)
                painter.drawLine(QPointF(call.a, call.b), QPointF(call.c, call.d));
            else if (call.kind == Call::Kind::Circle)
                painter.drawEllipse(QPointF(call.a, call.b), call.c, call.c);
        }
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != painted.pixel(x, y))
                QFAIL(qPrintable(
                    QStringLiteral("device pixel (%1, %2) differs from QPainter's").arg(x).arg(y)));
}

void TestRunPixels::secondRunKeepsOrWipesTheCurve_data()
{
    QTest::addColumn<YesNoQuestion::Answer>("answer");
    QTest::newRow("No keeps it") << YesNoQuestion::Answer::No;
    QTest::newRow("Yes wipes it") << YesNoQuestion::Answer::Yes;
}

void TestRunPixels::secondRunKeepsOrWipesTheCurve()
{
    QFETCH(YesNoQuestion::Answer, answer);
    MemorySettingsStore store;
    RecordingCanvas host;
    host.answer = answer;
    ImageCanvas canvas(QSize(800, 581));
    ReflectionRun(store, canvas, host, host, host, host).run();
    store.setText(StateField::nFrekvence, QStringLiteral("0.5"));
    store.setText(StateField::nBarva, QStringLiteral("červená"));
    ReflectionRun(store, canvas, host, host, host, host).run();
    const QImage &image = canvas.image();

    const bool kept = answer == YesNoQuestion::Answer::No;
    // At frequency 0.5 the red curve repeats every 160 rows.
    for (int T : {0, 40, 80, 160, 240})
        QVERIFY(near(image, 420 + expectedPlotX(T, 0.5), 190.5 + T, qRgb(255, 0, 0)));
    QCOMPARE(near(image, 420 + expectedPlotX(40, 1), 190.5 + 40, qRgb(0, 255, 0)), kept);
}

QTEST_GUILESS_MAIN(TestRunPixels)
#include "tst_runpixels.moc"
