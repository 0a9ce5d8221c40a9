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

// Every stroke twice: on the canvas under test and through QPainter alone. At the end of
// every step the canvas's changes are taken, as the window takes them, and its picture must
// equal QPainter's: what the canvas skips or repairs between steps must not show in any.
// Every pixel that changed in a step must lie in the changes taken, or the screen would
// miss it.
class PaintedTwice : public Canvas, public StepPacer
{
public:
    explicit PaintedTwice(ImageCanvas &canvas)
        : m_canvas(canvas)
        , m_painted(canvas.image().size(), QImage::Format_RGB32)
        , m_shown(canvas.image().copy())
    {
        m_painted.setDevicePixelRatio(canvas.image().devicePixelRatio());
        m_painted.fill(Grey);
    }

    void setPenWidth(int width) override
    {
        m_canvas.setPenWidth(width);
        m_width = width;
    }
    void drawLine(float x1, float y1, float x2, float y2, StrokeColour colour) override
    {
        m_canvas.line(x1, y1, x2, y2, colour);
        QPainter painter(&m_painted);
        painter.setPen(QPen(QColor(colour.resolved()), m_width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    void drawCircle(float x, float y, float radius, StrokeColour colour) override
    {
        m_canvas.circle(x, y, radius, colour);
        QPainter painter(&m_painted);
        painter.setPen(QPen(QColor(colour.resolved()), m_width, Qt::SolidLine, Qt::FlatCap));
        painter.drawEllipse(QPointF(x, y), radius, radius);
    }
    void stepDone(double) override
    {
        ++m_steps;
        const QString when = QStringLiteral("after step %1").arg(m_steps);
        if (firstDifference.isEmpty())
            firstDifference = missedChange(when);
        if (firstDifference.isEmpty())
            firstDifference = compare(when);
    }

    // Takes the changes and names the first changed pixel they leave out, or nothing.
    QString missedChange(const QString &when)
    {
        const QRegion changed = m_canvas.takeChanged();
        const QImage &image = m_canvas.image();
        const qreal ratio = image.devicePixelRatio();
        QString missed;
        for (int y = 0; y < image.height() && missed.isEmpty(); ++y) {
            const auto *now = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            const auto *before = reinterpret_cast<const QRgb *>(m_shown.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (now[x] != before[x] &&
                    !changed.contains(QPoint(int(x / ratio), int(y / ratio)))) {
                    missed = QStringLiteral("%1 device pixel (%2, %3) changed outside the region")
                                 .arg(when)
                                 .arg(x)
                                 .arg(y);
                    break;
                }
        }
        m_shown = image.copy();
        return missed;
    }

    // Where the two pictures first differ, or nothing.
    QString compare(const QString &when) const
    {
        const QImage &image = m_canvas.image();
        if (image == m_painted)
            return {};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != m_painted.pixel(x, y))
                    return QStringLiteral("%1 device pixel (%2, %3) differs from QPainter's")
                        .arg(when)
                        .arg(x)
                        .arg(y);
        return {};
    }

    QString firstDifference;

private:
    ImageCanvas &m_canvas;
    QImage m_painted;
    // The picture as the screen has it: as it was when the changes were last taken.
    QImage m_shown;
    int m_width = 1;
    int m_steps = 0;
};

} // namespace

class TestRunPixels : public QObject
{
    Q_OBJECT

private slots:
    void everyStepAndTheEnd_data();
    void everyStepAndTheEnd();
    void secondRunKeepsOrWipesTheCurve_data();
    void secondRunKeepsOrWipesTheCurve();
};

void TestRunPixels::everyStepAndTheEnd_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("1.5x") << 1.5;
    QTest::newRow("2x") << 2.0;
    // A 3840 x 2160 screen's zoom: the wipes' right ends fall on pixel centres.
    QTest::newRow("3.5x") << 3.5;
}

void TestRunPixels::everyStepAndTheEnd()
{
    QFETCH(qreal, ratio);
    MemorySettingsStore store;
    RecordingCanvas host;
    ImageCanvas canvas(QSize(800, 581), ratio);
    PaintedTwice twice(canvas);
    ReflectionRun(store, twice, host, twice, host, host).run();
    QVERIFY2(twice.firstDifference.isEmpty(), qPrintable(twice.firstDifference));
    const QString atEnd = twice.compare(QStringLiteral("at the end"));
    QVERIFY2(atEnd.isEmpty(), qPrintable(atEnd));
    const QString endMissed = twice.missedChange(QStringLiteral("at the end"));
    QVERIFY2(endMissed.isEmpty(), qPrintable(endMissed));
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
