// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recordingcanvas.h"

#include "access/curvedescription.h"
#include "canvas/imagecanvas.h"
#include "export/curvecsv.h"
#include "run/curvelog.h"
#include "run/dialplot.h"
#include "run/pacing.h"
#include "run/reflectionrun.h"
#include "run/scene.h"
#include "settings/graphcolours.h"

#include <QLocale>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

const auto Grey = StrokeColour::rgb(192, 192, 192);
const auto Erase = StrokeColour::inactiveBorder();

// The run's calls split at each step's end: step i's strokes are segments[i], with
// everything before the first step's own strokes at the front of segments[0].
struct RunLog {
    std::vector<std::vector<Call>> segments;
    std::vector<Call> afterSweep;
};

RunLog split(const std::vector<Call> &calls)
{
    RunLog log;
    std::vector<Call> current;
    for (const Call &call : calls) {
        if (call.kind == Call::Kind::Step) {
            log.segments.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(call);
        }
    }
    log.afterSweep = std::move(current);
    return log;
}

struct Settings {
    double frequency = 1;
    double length = 1;
    double shift = 0;
};

// The strokes of one sweep step, written out from the geometry of the picture rather
// than taken from the program.
std::vector<Call> expectedStep(int T, Settings settings, StrokeColour pointColour)
{
    const double FrontY = 190.5, DialX = 470, DialY = 110.5, F = 50;
    const double B = 50 * settings.length;
    const double SourceY = 90.5 + settings.shift;
    const double phaseStep = 1.57041 / 100 * 5 * settings.frequency;
    const double BackY = FrontY + T, PrevBackY = FrontY + T - 1;
    const double a = phaseStep * T, prev = phaseStep * (T - 1);
    const double tipX = DialX + F - B * std::cos(a), tipY = DialY - B * std::sin(a);
    const double prevX = DialX + F - B * std::cos(prev), prevY = DialY - B * std::sin(prev);
    const double s = B * std::sin(a), c = B * std::cos(a) - F;
    const double PlotX = (c * c + s * s) * 0.02;

    std::vector<Call> calls = {
        Call::penWidth(3),
        Call::line(470, 110.5, 520, 110.5),
        Call::penWidth(1),
        Call::line(30, BackY, 400, BackY),
        Call::line(30, SourceY, 215, FrontY),
        Call::line(30, SourceY, 215, PrevBackY, Erase),
        Call::line(215, FrontY, 400, 90.5),
        Call::line(30, SourceY, 215, BackY),
        Call::line(215, PrevBackY, 400, 90.5, Erase),
        Call::line(215, BackY, 400, 90.5),
        Call::penWidth(2),
        Call::line(520, 110.5, prevX, prevY, StrokeColour::buttonFace()),
        Call::line(520, 110.5, tipX, tipY, StrokeColour::rgb(255, 0, 0)),
        Call::line(470, 110.5, prevX, prevY, StrokeColour::rgb(255, 192, 192)),
        Call::line(470, 110.5, tipX, tipY, StrokeColour::rgb(0, 255, 0)),
        Call::penWidth(2),
        Call::circle(420 + PlotX, 190.5 + T, 1, pointColour),
        Call::penWidth(1),
    };
    for (int k = 1; k <= T; ++k)
        calls.push_back(Call::line(30, FrontY + k, 400, FrontY + k));
    return calls;
}

void compareCalls(const std::vector<Call> &actual, const std::vector<Call> &expected)
{
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
        if (!(actual[i] == expected[i]))
            QFAIL(qPrintable(QStringLiteral("call %1: got %2, expected %3")
                                 .arg(i)
                                 .arg(describe(actual[i]), describe(expected[i]))));
    }
    QCOMPARE(actual.size(), expected.size());
}

std::vector<Call> runOnce(MemorySettingsStore &store, RecordingCanvas &canvas)
{
    canvas.calls.clear();
    canvas.delayCounts.clear();
    ReflectionRun(store, canvas, canvas, canvas, canvas, canvas).run();
    return canvas.calls;
}

// One first run after start-up with some settings changed.
RunLog firstRunWith(std::initializer_list<std::pair<StateField, QString>> texts)
{
    MemorySettingsStore store;
    for (const auto &[field, text] : texts)
        store.setText(field, text);
    RecordingCanvas canvas;
    return split(runOnce(store, canvas));
}

// The rows a band of clearing lines touches, in drawing order.
std::vector<float> rowsOf(const std::vector<Call> &calls, float left, float right)
{
    std::vector<float> rows;
    for (const Call &call : calls)
        if (call.kind == Call::Kind::Line && call.colour == Grey && call.a == left &&
            call.c == right && call.b == call.d)
            rows.push_back(call.b);
    return rows;
}

} // namespace

class TestRun : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void staticScene_data();
    void staticScene();
    void sweepStep_data();
    void sweepStep();
    void clearing_data();
    void clearing();
    void completion_data();
    void completion();
    void pointColour_data();
    void pointColour();
    void plotXRange_data();
    void plotXRange();
    void slowDownIsReadAtEveryStep();
    void stepsAreShownOnSchedule_data();
    void stepsAreShownOnSchedule();
    void unreadableSettingsNeverStallARun_data();
    void unreadableSettingsNeverStallARun();
    void curveLogFollowsThePicture_data();
    void curveLogFollowsThePicture();
    void curveLogPoints_data();
    void curveLogPoints();
    void csvField_data();
    void csvField();
    void description_data();
    void description();
};

void TestRun::staticScene_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("shift");
    QTest::addColumn<double>("maximumX");
    QTest::addColumn<double>("halfMaximumX");
    QTest::addColumn<double>("sourceY");

    QTest::newRow("defaults") << "1"
                              << "0" << 620.0 << 520.0 << 90.5;
    QTest::newRow("length 0.5") << "0.5"
                                << "0" << 532.5 << 476.25 << 90.5;
    QTest::newRow("length 1.5") << "1.5"
                                << "0" << 732.5 << 576.25 << 90.5;
    QTest::newRow("source shift 50") << "1"
                                     << "50" << 620.0 << 520.0 << 140.5;
}

void TestRun::staticScene()
{
    QFETCH(QString, length);
    QFETCH(QString, shift);
    QFETCH(double, maximumX);
    QFETCH(double, halfMaximumX);
    QFETCH(double, sourceY);

    const RunLog log =
        firstRunWith({{StateField::nNasob, length}, {StateField::nPosunZdroje, shift}});

    // The first run wipes 500 + 201 rows after setting the pen; then the scene follows.
    const std::vector<Call> &first = log.segments.front();
    const std::vector<Call> scene(first.begin() + 1 + 500 + 201, first.begin() + 1 + 701 + 11);
    compareCalls(scene, {
                            Call::penWidth(1),
                            Call::line(420, 190.5, 420, 540.5),
                            Call::line(470, 110.5, 520, 110.5),
                            Call::line(420, 190.5, 780, 190.5),
                            Call::circle(470, 110.5, 50),
                            Call::line(30, 190.5, 400, 190.5),
                            Call::circle(30, sourceY, 5),
                            Call::circle(400, 90.5, 5),
                            Call::line(30, sourceY, 215, 190.5),
                            Call::line(maximumX, 190.5, maximumX, 540.5),
                            Call::line(halfMaximumX, 190.5, halfMaximumX, 540.5),
                        });
}

void TestRun::sweepStep_data()
{
    QTest::addColumn<int>("thickness");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("shift");

    QTest::newRow("first step") << 0 << 1.0 << 1.0 << 0.0;
    QTest::newRow("second step") << 1 << 1.0 << 1.0 << 0.0;
    QTest::newRow("last step") << 300 << 1.0 << 1.0 << 0.0;
    QTest::newRow("half a turn, frequency 1") << 40 << 1.0 << 1.0 << 0.0;
    QTest::newRow("frequency 0.5, length 1.5") << 123 << 0.5 << 1.5 << 0.0;
    QTest::newRow("frequency 1.5, length 0.5") << 77 << 1.5 << 0.5 << 0.0;
    QTest::newRow("source shifted 50") << 10 << 1.0 << 1.0 << 50.0;
}

void TestRun::sweepStep()
{
    QFETCH(int, thickness);
    QFETCH(double, frequency);
    QFETCH(double, length);
    QFETCH(double, shift);

    const RunLog log = firstRunWith({{StateField::nFrekvence, QLocale().toString(frequency)},
                                     {StateField::nNasob, QLocale().toString(length)},
                                     {StateField::nPosunZdroje, QLocale().toString(shift)}});
    QCOMPARE(log.segments.size(), std::size_t(301));

    const auto expected =
        expectedStep(thickness, {frequency, length, shift}, StrokeColour::rgb(0, 255, 0));
    std::vector<Call> actual = log.segments.at(std::size_t(thickness));
    if (thickness == 0)
        actual.erase(actual.begin(), actual.end() - std::ptrdiff_t(expected.size()));
    compareCalls(actual, expected);
}

void TestRun::clearing_data()
{
    QTest::addColumn<bool>("secondRun");
    QTest::addColumn<YesNoQuestion::Answer>("answer");
    QTest::addColumn<bool>("plotBandCleared");

    QTest::newRow("first run: no question") << false << YesNoQuestion::Answer::Yes << false;
    QTest::newRow("second run, Yes") << true << YesNoQuestion::Answer::Yes << true;
    QTest::newRow("second run, No") << true << YesNoQuestion::Answer::No << false;
}

void TestRun::clearing()
{
    QFETCH(bool, secondRun);
    QFETCH(YesNoQuestion::Answer, answer);
    QFETCH(bool, plotBandCleared);

    MemorySettingsStore store;
    RecordingCanvas canvas;
    canvas.answer = answer;
    if (secondRun)
        runOnce(store, canvas);
    const std::vector<Call> calls = runOnce(store, canvas);
    QCOMPARE(store.text(StateField::nStartuje), QStringLiteral("Ne"));

    const auto questions = std::count_if(calls.begin(), calls.end(), [](const Call &call) {
        return call.kind == Call::Kind::Question &&
               call.text == QStringLiteral("Delete probability");
    });
    QCOMPARE(questions, secondRun ? 1 : 0);
    if (secondRun)
        QCOMPARE(calls.at(1).kind, Call::Kind::Question);

    // Rows from the bottom up, the loops' end values included, rows above the canvas too.
    const std::vector<float> wide = rowsOf(calls, 100, 795);
    const std::vector<float> sheet = rowsOf(calls, 20, 400);
    QCOMPARE(sheet.size(), std::size_t(500));
    QCOMPARE(sheet.front(), 580.0f);
    QCOMPARE(sheet.back(), 81.0f);
    QCOMPARE(wide.size(), std::size_t(plotBandCleared ? 600 + 201 : 201));
    if (plotBandCleared) {
        QCOMPARE(wide.front(), 580.0f);
        QCOMPARE(wide.at(599), -19.0f);
    }
    QCOMPARE(wide.at(wide.size() - 201), 181.0f);
    QCOMPARE(wide.back(), -19.0f);
    QCOMPARE(calls.front(), Call::penWidth(1));
}

void TestRun::completion_data()
{
    QTest::addColumn<QString>("shift");
    QTest::addColumn<QString>("length");
    QTest::addColumn<double>("sourceY");

    QTest::newRow("defaults") << "0"
                              << "1" << 90.5;
    QTest::newRow("length 1.5 keeps the label places") << "0"
                                                       << "1.5" << 90.5;
    QTest::newRow("source shifted 50") << "50"
                                       << "1" << 140.5;
}

void TestRun::completion()
{
    QFETCH(QString, shift);
    QFETCH(QString, length);
    QFETCH(double, sourceY);

    const RunLog log =
        firstRunWith({{StateField::nPosunZdroje, shift}, {StateField::nNasob, length}});

    std::vector<Call> expected = {
        Call::penWidth(3),
        Call::line(30, sourceY, 215, 489.5, Erase),
        Call::line(215, 489.5, 400, 90.5, Erase),
        Call::penWidth(2),
        Call::penWidth(1),
    };
    // 301 rows: the fill covers the last back surface and one row below it.
    for (int k = 1; k <= 301; ++k)
        expected.push_back(
            Call::line(30, 190.5 + k, 400, 190.5 + k, StrokeColour::rgb(192, 255, 255)));
    expected.push_back(Call::line(30, sourceY, 215, 489.5));
    expected.push_back(Call::line(215, 489.5, 400, 90.5));
    Call picture;
    picture.kind = Call::Kind::Picture;
    expected.push_back(picture);
    const auto label = [](RunEndView::Label which, float left, float top) {
        Call call;
        call.kind = Call::Kind::Label;
        call.value = int(which);
        call.a = left;
        call.b = top;
        return call;
    };
    expected.push_back(label(RunEndView::Label::labOdrazovost, 470, 170.5));
    expected.push_back(label(RunEndView::Label::labZdroj, 25, float(sourceY - 30)));
    expected.push_back(label(RunEndView::Label::labDetektor, 360, 60.5));
    compareCalls(log.afterSweep, expected);
}

void TestRun::pointColour_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("plotted");
    QTest::addColumn<StrokeColour>("colour");

    QTest::newRow("modrá") << QStringLiteral("modrá") << true << StrokeColour::rgb(0, 0, 255);
    QTest::newRow("zelená") << QStringLiteral("zelená") << true << StrokeColour::rgb(0, 255, 0);
    QTest::newRow("červená") << QStringLiteral("červená") << true << StrokeColour::rgb(255, 0, 0);
    QTest::newRow("černá in the fore colour")
        << QStringLiteral("černá") << true << StrokeColour::fore();
    QTest::newRow("no accent") << QStringLiteral("modra") << false << StrokeColour::fore();
    QTest::newRow("other case") << QStringLiteral("Zelená") << false << StrokeColour::fore();
    QTest::newRow("trailing blank") << QStringLiteral("černá ") << false << StrokeColour::fore();
    QTest::newRow("empty") << QString() << false << StrokeColour::fore();
}

void TestRun::pointColour()
{
    QFETCH(QString, word);
    QFETCH(bool, plotted);
    QFETCH(StrokeColour, colour);

    const RunLog log = firstRunWith({{StateField::nBarva, word}});

    for (int T : {0, 150, 300}) {
        const auto &step = log.segments.at(std::size_t(T));
        const auto circle = std::find_if(step.begin(), step.end(), [](const Call &call) {
            return call.kind == Call::Kind::Circle && call.c == 1;
        });
        QCOMPARE(circle != step.end(), plotted);
        if (plotted)
            QCOMPARE(circle->colour, colour);
        // The dial turns whether or not a point is plotted.
        const auto greenArrows = std::count_if(step.begin(), step.end(), [](const Call &call) {
            return call.kind == Call::Kind::Line && call.colour == StrokeColour::rgb(0, 255, 0);
        });
        QCOMPARE(greenArrows, 1);
    }
}

void TestRun::plotXRange_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("least");
    QTest::addColumn<double>("greatest");

    QTest::newRow("0.5") << 0.5 << 12.5 << 112.5;
    QTest::newRow("1") << 1.0 << 0.0 << 200.0;
    QTest::newRow("1.5") << 1.5 << 12.5 << 312.5;
}

void TestRun::plotXRange()
{
    QFETCH(double, length);
    QFETCH(double, least);
    QFETCH(double, greatest);

    const Scene scene = Scene::compute(1, length, 0);
    QCOMPARE(plotX(scene, 0), least);
    double top = 0;
    for (int T = 0; T <= 300; ++T) {
        const double x = plotX(scene, T);
        const double B = scene.BackArrowLength;
        const double cosineForm = 0.02 * (2500 + B * B - 100 * B * std::cos(scene.PhaseStep * T));
        QVERIFY(std::abs(x - cosineForm) < 1e-9);
        QVERIFY(x >= least - 1e-9 && x <= greatest + 1e-9);
        top = std::max(top, x);
    }
    // Half a turn, about 40 rows at frequency 1, nearly reaches the greatest value.
    QVERIFY(greatest - top < 0.01 * greatest);
}

void TestRun::slowDownIsReadAtEveryStep()
{
    MemorySettingsStore store;
    store.setText(StateField::nSpomaleni, QStringLiteral("3"));
    RecordingCanvas canvas;
    canvas.onStep = [&store](int stepsDone) {
        if (stepsDone == 100)
            store.setText(StateField::nSpomaleni, QStringLiteral("0"));
    };
    runOnce(store, canvas);
    QCOMPARE(canvas.delayCounts.size(), std::size_t(301));
    QCOMPARE(canvas.delayCounts.front(), 60000.0);
    QCOMPARE(canvas.delayCounts.at(99), 60000.0);
    QCOMPARE(canvas.delayCounts.at(100), 0.0);
}

void TestRun::stepsAreShownOnSchedule_data()
{
    QTest::addColumn<QString>("slowDown");
    QTest::addColumn<QList<int>>("drawingMs");
    QTest::addColumn<QList<int>>("shownAtMs");

    QTest::newRow("drawing is taken out of the wait")
        << "1" << QList<int>{4, 4, 4, 4} << QList<int>{4, 18, 28, 38};
    QTest::newRow("a late step restarts the schedule without a burst")
        << "1" << QList<int>{1, 1, 25, 1, 1} << QList<int>{1, 12, 46, 57, 67};
    QTest::newRow("a step nearly a whole wait late is absorbed")
        << "1" << QList<int>{1, 9, 1} << QList<int>{1, 20, 22};
    QTest::newRow("a step exactly a whole wait late restarts the schedule")
        << "1" << QList<int>{1, 10, 1} << QList<int>{1, 21, 32};
    QTest::newRow("slow-down 0 never waits") << "0" << QList<int>{1, 1, 3} << QList<int>{1, 2, 5};
    QTest::newRow("slowest") << "30" << QList<int>{2, 2, 2} << QList<int>{2, 304, 604};
}

// A fake clock: each step is drawn, shown, and waited for until the next is due.
void TestRun::stepsAreShownOnSchedule()
{
    QFETCH(QString, slowDown);
    QFETCH(QList<int>, drawingMs);
    QFETCH(QList<int>, shownAtMs);

    using namespace std::chrono;
    StepSchedule schedule;
    StepSchedule::Clock::time_point now{hours(1)};
    const auto start = now;
    QList<int> shown;
    for (int drawing : drawingMs) {
        now += milliseconds(drawing);
        shown.push_back(int(duration_cast<milliseconds>(now - start).count()));
        now = std::max(now, schedule.stepShown(now, delayCount(slowDown)));
    }
    QCOMPARE(shown, shownAtMs);
}

void TestRun::unreadableSettingsNeverStallARun_data()
{
    QTest::addColumn<StateField>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("delayCount");

    QTest::newRow("frequency not a number") << StateField::nFrekvence << "abc" << 20000.0;
    QTest::newRow("length empty") << StateField::nNasob << "" << 20000.0;
    QTest::newRow("length infinite") << StateField::nNasob << "inf" << 20000.0;
    QTest::newRow("shift far off the canvas") << StateField::nPosunZdroje << "1e30" << 20000.0;
    QTest::newRow("shift beyond a float") << StateField::nPosunZdroje << "1e300" << 20000.0;
    QTest::newRow("slow-down not a number") << StateField::nSpomaleni << "pomalu" << 0.0;
    QTest::newRow("slow-down negative") << StateField::nSpomaleni << "-4" << 0.0;
    QTest::newRow("slow-down fractional") << StateField::nSpomaleni << "2.5" << 50000.0;
    QTest::newRow("slow-down huge") << StateField::nSpomaleni << "1e12" << 600000.0;
    QTest::newRow("slow-down not finite") << StateField::nSpomaleni << "nan" << 0.0;
}

void TestRun::unreadableSettingsNeverStallARun()
{
    QFETCH(StateField, field);
    QFETCH(QString, text);
    QFETCH(double, delayCount);

    MemorySettingsStore store;
    store.setText(field, text);
    RecordingCanvas canvas;
    const RunLog log = split(runOnce(store, canvas));

    QCOMPARE(log.segments.size(), std::size_t(301));
    QCOMPARE(canvas.delayCounts.front(), delayCount);

    // The same settings on a real image: positions far off the canvas, or beyond what a
    // float holds, are drawn or dropped without harm.
    MemorySettingsStore imageStore;
    imageStore.setText(field, text);
    ImageCanvas image(QSize(800, 581));
    ReflectionRun(imageStore, image, canvas, canvas, canvas, canvas).run();
    QCOMPARE(image.image().pixel(35, 300), qRgb(192, 255, 255));
    // An unreadable geometry setting counts as its start-up value.
    if (field == StateField::nFrekvence || field == StateField::nNasob)
        compareCalls(log.segments.at(7), expectedStep(7, {}, StrokeColour::rgb(0, 255, 0)));
}

void TestRun::curveLogFollowsThePicture_data()
{
    QTest::addColumn<QStringList>("colours");
    QTest::addColumn<QList<bool>>("answeredNo");
    QTest::addColumn<QList<int>>("rowsPerRun");

    QTest::newRow("one run") << QStringList{"zelená"} << QList<bool>{} << QList<int>{301};
    QTest::newRow("No keeps the first run")
        << QStringList{"zelená", "červená"} << QList<bool>{true} << QList<int>{301, 301};
    QTest::newRow("Yes wipes, the count starts again")
        << QStringList{"zelená", "červená", "modrá"} << QList<bool>{true, false} << QList<int>{301};
    QTest::newRow("no colour, no rows")
        << QStringList{"zelená", "modra"} << QList<bool>{true} << QList<int>{301, 0};
    QTest::newRow("a run without rows still counts")
        << QStringList{"Zelená", "černá", "černá"} << QList<bool>{true, true}
        << QList<int>{0, 301, 301};
}

// Runs with the question answered as given; the log keeps the rows the picture keeps.
void TestRun::curveLogFollowsThePicture()
{
    QFETCH(QStringList, colours);
    QFETCH(QList<bool>, answeredNo);
    QFETCH(QList<int>, rowsPerRun);

    MemorySettingsStore store;
    RecordingCanvas canvas;
    for (qsizetype i = 0; i < colours.size(); ++i) {
        if (i > 0)
            canvas.answer =
                answeredNo.at(i - 1) ? YesNoQuestion::Answer::No : YesNoQuestion::Answer::Yes;
        store.setText(StateField::nBarva, colours.at(i));
        runOnce(store, canvas);
    }
    QCOMPARE(canvas.runs(), int(rowsPerRun.size()));
    QList<int> counted(rowsPerRun.size(), 0);
    int previousRun = 0;
    for (const CurveRow &row : canvas.rows()) {
        QVERIFY(row.Run >= previousRun && row.Run <= counted.size());
        previousRun = row.Run;
        ++counted[row.Run - 1];
        QVERIFY(GraphColours::ofWord(row.Point.ColourWord));
    }
    QCOMPARE(counted, rowsPerRun);
}

void TestRun::curveLogPoints_data()
{
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("least");
    QTest::addColumn<double>("greatest");
    QTest::addColumn<int>("period");

    QTest::newRow("frequency 1, length 1") << 1.0 << 1.0 << 0.0 << 200.0 << 80;
    QTest::newRow("frequency 0.5, length 0.5") << 0.5 << 0.5 << 12.5 << 112.5 << 160;
    QTest::newRow("frequency 1.5, length 1.5") << 1.5 << 1.5 << 12.5 << 312.5 << 53;
}

// One row per step, as drawn: the point's place, the dial's resultant, and the CSV that
// reads back to the very same numbers.
void TestRun::curveLogPoints()
{
    QFETCH(double, frequency);
    QFETCH(double, length);
    QFETCH(double, least);
    QFETCH(double, greatest);
    QFETCH(int, period);

    MemorySettingsStore store;
    store.setText(StateField::nFrekvence, QLocale().toString(frequency));
    store.setText(StateField::nNasob, QLocale().toString(length));
    RecordingCanvas canvas;
    const RunLog log = split(runOnce(store, canvas));
    const auto &rows = canvas.rows();
    QCOMPARE(rows.size(), std::size_t(301));

    std::vector<int> turns;
    for (int T = 0; T <= 300; ++T) {
        const PlottedPoint &p = rows.at(std::size_t(T)).Point;
        QCOMPARE(p.Thickness, T);
        QCOMPARE(p.RelativeFrequency, frequency);
        QCOMPARE(p.RelativeLength, length);
        QVERIFY(std::abs(p.PhaseAngle - 0.0785205 * frequency * T) < 1e-9);
        QVERIFY(std::abs(0.02 * p.ResultantLength * p.ResultantLength - p.PlotX) < 1e-9);
        QVERIFY(p.PlotX >= least - 1e-9 && p.PlotX <= greatest + 1e-9);
        const auto &step = log.segments.at(std::size_t(T));
        const auto circle = std::find_if(step.begin(), step.end(), [](const Call &call) {
            return call.kind == Call::Kind::Circle && call.c == 1;
        });
        QVERIFY(circle != step.end());
        QCOMPARE(circle->a, float(420 + p.PlotX));
        QCOMPARE(circle->b, float(190.5 + T));
        if (T > 0 && T < 300) {
            const double before = rows.at(std::size_t(T - 1)).Point.PlotX;
            const double after = rows.at(std::size_t(T + 1)).Point.PlotX;
            if ((p.PlotX < before && p.PlotX <= after) || (p.PlotX > before && p.PlotX >= after))
                turns.push_back(T);
        }
    }
    // Highs and lows take turns, half a period apart.
    QVERIFY(turns.size() >= 3);
    const double rowsPerPeriod = 2.0 * (turns.back() - turns.front()) / double(turns.size() - 1);
    QVERIFY2(std::abs(rowsPerPeriod - period) <= 1, qPrintable(QString::number(rowsPerPeriod)));

    const QList<QByteArray> lines = CurveCsv::of(canvas).split('\n');
    QCOMPARE(lines.size(), 301 + 2);
    QCOMPARE(lines.front(), QByteArray("run,relative_frequency,relative_length,colour,thickness,"
                                       "phase_angle,resultant_length,probability\r"));
    QVERIFY(lines.back().isEmpty());
    for (int T = 0; T <= 300; ++T) {
        const QList<QByteArray> fields = lines.at(T + 1).chopped(1).split(',');
        QCOMPARE(fields.size(), 8);
        const PlottedPoint &p = rows.at(std::size_t(T)).Point;
        QCOMPARE(fields.at(0), QByteArray("1"));
        QCOMPARE(fields.at(3), QByteArray("green"));
        QCOMPARE(fields.at(4).toInt(), T);
        const double exact[] = {p.RelativeFrequency, p.RelativeLength, p.PhaseAngle,
                                p.ResultantLength, p.PlotX};
        const int columns[] = {1, 2, 5, 6, 7};
        for (int i = 0; i < 5; ++i) {
            bool ok = false;
            QCOMPARE(QLocale::c().toDouble(QString::fromLatin1(fields.at(columns[i])), &ok),
                     exact[i]);
            QVERIFY(ok);
        }
    }
}

void TestRun::csvField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");

    QTest::newRow("plain") << "green"
                           << "green";
    QTest::newRow("accents stay bare") << "zelená"
                                       << "zelená";
    QTest::newRow("comma") << "a,b"
                           << "\"a,b\"";
    QTest::newRow("quote doubled") << "say \"hi\""
                                   << "\"say \"\"hi\"\"\"";
    QTest::newRow("line break") << "a\r\nb"
                                << "\"a\r\nb\"";
    QTest::newRow("empty") << ""
                           << "";
}

void TestRun::csvField()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(CurveCsv::field(text), field);
}

void TestRun::description_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("frequencies");
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<QString>("text");

    const QLocale cs(QLocale::Czech, QLocale::CzechRepublic);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QString first = QStringLiteral(
        "Run 1: relative frequency 1, relative length 1, green; the probability swings between 0 "
        "and 200 with a period of about 80 rows.");
    QTest::newRow("one run, English")
        << en << QStringList{"1"} << QStringList{"1"} << "1 curve. " + first;
    QTest::newRow("two runs, Czech numbers")
        << cs << QStringList{"1", "0,5"} << QStringList{"1", "0,5"}
        << "2 curves, oldest first. " + first +
               " Run 2: relative frequency 0,5, relative length 0,5, red; the probability swings "
               "between 12,5 and 112,5 with a period of about 160 rows.";
    QTest::newRow("two runs, English numbers")
        << en << QStringList{"1", "0.5"} << QStringList{"1", "0.5"}
        << "2 curves, oldest first. " + first +
               " Run 2: relative frequency 0.5, relative length 0.5, red; the probability swings "
               "between 12.5 and 112.5 with a period of about 160 rows.";
    QTest::newRow("length 1.5, English")
        << en << QStringList{"1.5"} << QStringList{"1.5"}
        << "1 curve. Run 1: relative frequency 1.5, relative length 1.5, blue; the probability "
           "swings between 12.5 and 312.5 with a period of about 53 rows.";
}

// Runs answered No, each frequency choosing its colour as its option does.
void TestRun::description()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, frequencies);
    QFETCH(QStringList, lengths);
    QFETCH(QString, text);

    QLocale::setDefault(locale);
    MemorySettingsStore store;
    RecordingCanvas canvas;
    canvas.answer = YesNoQuestion::Answer::No;
    QVERIFY(describeCurves(canvas, locale).startsWith(u"The canvas is empty: press Start"));
    for (qsizetype i = 0; i < frequencies.size(); ++i) {
        const QString &f = frequencies.at(i);
        store.setText(StateField::nFrekvence, f);
        store.setText(StateField::nNasob, lengths.at(i));
        const char *word = f == u"1" ? "zelená" : f.startsWith(u'0') ? "červená" : "modrá";
        store.setText(StateField::nBarva, QString::fromUtf8(word));
        runOnce(store, canvas);
    }
    QCOMPARE(describeCurves(canvas, locale), text);
}

QTEST_GUILESS_MAIN(TestRun)
#include "tst_run.moc"
