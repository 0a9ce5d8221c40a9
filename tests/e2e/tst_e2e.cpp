// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

// End-to-end tests: the built program on a private X server (see run-under-xvfb.sh),
// driven with real pointer and key events and judged by its screenshots.

#include "picture.h"
#include "session.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

using namespace Pict;

namespace {

const RunSettings Defaults{1, 1};

enum class Answer { Yes, No };

// Names the screenshots of the running test: function, data row and locale.
QString prefix()
{
    QString name = QString::fromLatin1(QTest::currentTestFunction());
    if (const char *tag = QTest::currentDataTag())
        name += u'-' + QString::fromUtf8(tag).replace(u' ', u'_').replace(u',', u'_');
    return name + u'-' + QLocale::system().name();
}

QString report(const Problems &problems)
{
    return problems.join(QStringLiteral("\n   "));
}

// The buttons of the question box, left to right, as centres in device pixels. A button's
// frame, and the focus ring inside the focused one, are the only things in the box with long
// vertical edges darker than the box.
QList<QPoint> questionButtons(const QImage &box, int scale)
{
    const int from = box.height() / 2;
    QList<int> edges;
    QList<int> middles;
    for (int x = 0; x < box.width(); ++x) {
        int run = 0;
        int longest = 0;
        int longestEnd = 0;
        for (int y = from; y < box.height(); ++y) {
            run = qGray(box.pixel(x, y)) < 200 ? run + 1 : 0;
            if (run > longest) {
                longest = run;
                longestEnd = y;
            }
        }
        // A focused button's ring runs a few pixels inside its frame: one edge with it.
        if (longest >= 16 * scale && (edges.isEmpty() || x > edges.last() + 4 * scale)) {
            edges << x;
            middles << longestEnd - longest / 2;
        } else if (longest >= 16 * scale) {
            edges.last() = x;
        }
    }
    QList<QPoint> buttons;
    for (int i = 0; i + 1 < edges.size(); i += 2)
        buttons << QPoint((edges[i] + edges[i + 1]) / 2, middles[i]);
    return buttons;
}

// Every visible control, where strokes never go.
const QList<QRect> VisibleControls{
    {632, 72, 129, 19}, // "Vectors of two paths "
    ScrollRect,         // the speed
    {312, 0, 217, 25},  // the title "Quorvane"
    {632, 88, 129, 65}, // "Relative length "
    ExitRect,           // "Exit"
    {136, 72, 161, 57}, // "Relative frequency"
    {80, 0, 137, 57},   // "Graph colour"
    StartRect,          // "Start"
};

const OptionButton AllOptions[] = {BlackColour, RedColour, GreenColour, BlueColour, Freq05,
                                   Freq1,       Freq15,    Len05,       Len1,       Len15};

bool isColour(const OptionButton &option)
{
    return option.rect == BlackColour.rect || option.rect == RedColour.rect ||
           option.rect == GreenColour.rect || option.rect == BlueColour.rect;
}

const QPoint ScrollRightArrow(ScrollRect.right() - 7, ScrollRect.center().y());

// The scroll bar's thumb's right end: where the bare track ends, looked for from the right.
int thumbEnd(const QImage &image)
{
    const int y = ScrollRect.center().y();
    const QRgb track = image.pixel(ScrollRect.right() - 18, y);
    int x = ScrollRect.right() - 18;
    while (x > ScrollRect.left() + 16 && image.pixel(x, y) == track)
        --x;
    return x;
}

bool chosenAtStart(const OptionButton &option)
{
    return option.rect == Freq1.rect || option.rect == Len1.rect || option.rect == GreenColour.rect;
}

// The frames drawn as classic titled frames, and the unchosen options' circles white inside
// whatever the option's background.
Problems checkFramesAtStart(const QImage &image, int scale)
{
    Problems problems;
    for (const Frame &frame : {ColourFrame, FrequencyFrame, LengthFrame})
        problems += checkFrame(image, scale, frame);
    for (const OptionButton &option : AllOptions) {
        if (!chosenAtStart(option) && !isWhiteInside(image, scale, option))
            problems << QStringLiteral("the circle of %1 is not white inside")
                            .arg(QString::fromUtf8(option.name));
    }
    return problems;
}

// Contrast ratio of two colours as WCAG defines it, from 1 (same) to 21 (black on white).
double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb c) {
        const auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The least contrast, against both colours, of the pixels in a band two logical pixels wide
// along the inside of the rectangle: the focus ring, if it is whole and wide enough.
double ringContrast(const QImage &image, int scale, const QRect &logical, QRgb background)
{
    const QRect device(logical.topLeft() * scale, logical.size() * scale);
    const QRect inner = device.adjusted(2 * scale, 2 * scale, -2 * scale, -2 * scale);
    double least = 21;
    for (int y = device.top(); y <= device.bottom(); ++y) {
        for (int x = device.left(); x <= device.right(); ++x) {
            if (inner.contains(x, y))
                continue;
            const QRgb pixel = image.pixel(x, y);
            least = std::min({least, contrast(pixel, background), contrast(pixel, Grey)});
        }
    }
    return least;
}

} // namespace

class EndToEnd : public QObject
{
    Q_OBJECT

private:
    // Clicks Start and waits for the end picture of the run it starts.
    static QImage startRun(Session &session, const QString &step)
    {
        session.click(StartRect.center());
        return session.waitForRunEnd(step);
    }

    // Answers the question shown now, with the mouse or with keys; false when its buttons
    // cannot be found on the screen.
    static bool answer(Session &session, const XDisplay::TopLevel &box, Answer answer,
                       bool withMouse)
    {
        if (withMouse) {
            const QImage picture = session.display().grab(box.geometry);
            const QList<QPoint> buttons = questionButtons(picture, session.scale());
            if (buttons.size() != 2) {
                session.save(picture, QStringLiteral("question-buttons"));
                return false;
            }
            // Yes stands left of No.
            session.clickDevice(box.geometry.topLeft() + buttons[answer == Answer::Yes ? 0 : 1]);
        } else {
            // Yes is the default button; N is the mnemonic of No.
            session.key(answer == Answer::Yes ? QStringLiteral("Return") : QStringLiteral("n"),
                        box);
        }
        return true;
    }

    // Clicks an option and waits until the screen shows the option it should select.
    static bool choose(Session &session, OptionButton option, OptionButton shown,
                       const QString &step)
    {
        session.click(clickPoint(option));
        return !session
                    .waitFor([shown](const QImage &image) { return isChosen(image, 1, shown); },
                             step)
                    .isNull();
    }

    // Clicks Start, answers the question it asks and waits for the run's end picture;
    // a null image when something failed, which the session's error tells.
    static QImage runAnswering(Session &session, Answer reply, bool withMouse, const QString &step)
    {
        session.click(StartRect.center());
        const auto box = session.waitForQuestion();
        if (!box || !answer(session, *box, reply, withMouse))
            return {};
        return session.waitForRunEnd(step);
    }

    // Two steps of the scroll bar: a run of about 9 s leaves ample time to click during
    // it however busy the machine is.
    static void slowDown(Session &session)
    {
        session.click(ScrollRightArrow);
        session.click(ScrollRightArrow);
    }

    static QImage runUntil(Session &session, int thickness, QRgb colour,
                           const RunSettings &settings)
    {
        // Until the point of the given thickness is plotted, while the run is not over.
        const double x = 420 + plotX(settings, thickness);
        const QRect spot(int(x) - 2, 190 + thickness - 1, 5, 3);
        return session.waitFor(
            [&](const QImage &image) {
                return countColour(image, session.scale(), spot, colour) > 0 &&
                       !runLooksComplete(image, session.scale());
            },
            QStringLiteral("point-%1").arg(thickness));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"),
                 "run these tests through run-under-xvfb.sh, which starts their X server");
        QVERIFY2(XDisplay().isOpen(), "cannot open the X display");
        qInfo("locale %s, display %s", qPrintable(QLocale::system().name()),
              qPrintable(qEnvironmentVariable("DISPLAY")));
    }

    // The window as it first shows, and the space bar pressing Start, which has the focus.
    void windowAtStart()
    {
        Session session(prefix());
        QVERIFY2(session.start(), qPrintable(session.error()));
        const QImage image = session.grabAndSave(QStringLiteral("start"));

        const auto window = session.display().findMapped(Session::MainTitle);
        QVERIFY(window);
        QCOMPARE(window->geometry, QRect(0, 0, 800, 581));

        // Nothing drawn: apart from the controls and the prompt, all is background grey;
        // the run-end labels, the picture, the two hidden groups and the six hidden text
        // fields among them.
        int notGrey = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool covered =
                    std::any_of(VisibleControls.begin(), VisibleControls.end(),
                                [&](const QRect &r) { return r.contains(x, y); }) ||
                    PromptRect.contains(x, y);
                notGrey += !covered && (image.pixel(x, y) | 0xff000000u) != Grey;
            }
        }
        QVERIFY2(notGrey == 0, qPrintable(QStringLiteral("%1 pixels outside the visible controls "
                                                         "are not background grey")
                                              .arg(notGrey)));
        QVERIFY2(hasDarkPixels(image, 1, PromptRect),
                 "the prompt \"Please press button Start\" is not shown");
        for (const QRect &rect : VisibleControls)
            QVERIFY2(countOther(image, 1, rect, Grey) > 0, "a control is not shown");

        // The start-up choices.
        for (const OptionButton &option : AllOptions) {
            const bool expected = chosenAtStart(option);
            QVERIFY2(isChosen(image, 1, option) == expected,
                     qPrintable(QStringLiteral("%1 is %2chosen")
                                    .arg(QString::fromUtf8(option.name),
                                         expected ? QStringLiteral("not ") : QString())));
        }
        // The scroll bar at 1: its thumb right of the left arrow, the track beyond it bare.
        const QRgb thumb = image.pixel(368, 32);
        const QRgb track = image.pixel(440, 32);
        QVERIFY2(thumb != track && image.pixel(470, 32) == track,
                 "the scroll bar's thumb is not at its left end");
        const Problems frames = checkFramesAtStart(image, 1);
        QVERIFY2(frames.isEmpty(), qPrintable(report(frames)));

        session.key(QStringLiteral("space"));
        const QImage end = session.waitForRunEnd(QStringLiteral("space-run"));
        QVERIFY2(!end.isNull(), qPrintable(session.error()));
        Problems problems = checkRunEnd(end, 1);
        problems += checkCurve(end, 1, {Defaults, Green});
        QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
    }

    void focusRing_data()
    {
        QTest::addColumn<int>("scale");
        QTest::newRow("1x") << 1;
        QTest::newRow("2x") << 2;
    }

    // The keyboard focus shows on every control Tab reaches as a ring two pixels wide, whole
    // on every side, that stands out at least 3:1 from the control's own colour and from
    // the window's grey.
    void focusRing()
    {
        QFETCH(int, scale);
        Session session(prefix(), scale);
        session.setEnvironment(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
        QVERIFY2(session.start(), qPrintable(session.error()));
        const QImage atStart = session.grab();
        const QRgb track = atStart.pixel(440 * scale, 32 * scale);
        const QRgb LightBlue = qRgb(192, 192, 255);

        struct Stop {
            const char *keys;
            const char *name;
            QRect ring; // where a control created later covers an edge, the part that shows
            QRgb background;
        };
        const Stop stops[] = {
            // Shift alone only gives the window the keyboard, as no window manager does here.
            {"shift", "Start", StartRect.adjusted(3, 3, -3, -3), Grey},
            {"Tab", "zelená", GreenColour.rect.adjusted(0, 1, 0, 0), Green},
            {"Down", "modrá", BlueColour.rect.adjusted(1, 0, 0, 0), LightBlue},
            {"Up Up", "červená", RedColour.rect, Red},
            {"Up", "black", BlackColour.rect, Grey},
            {"Tab", "1 green", Freq1.rect, Green},
            {"Down", "1,5 blue", Freq15.rect.adjusted(0, 1, 0, 0), LightBlue},
            {"Up Up", "0,5 red", Freq05.rect, Red},
            {"Tab", "Exit", ExitRect.adjusted(3, 3, -3, -3), Grey},
            {"Tab", "length 1", Len1.rect.adjusted(0, 1, 0, 0), Grey},
            {"Tab", "title", {312, 0, 217, 25}, Grey},
            {"Tab", "scroll bar", ScrollRect.adjusted(0, 1, 0, 0), track},
            {"Tab", "Vectors of two paths", {632, 72, 129, 16}, Grey},
        };
        QStringList measured;
        for (const Stop &stop : stops) {
            session.key(QString::fromLatin1(stop.keys));
            const QString name = QString::fromUtf8(stop.name);
            const QImage focused = session.waitFor(
                [&](const QImage &image) {
                    return ringContrast(image, scale, stop.ring, stop.background) >= 3;
                },
                QStringLiteral("focus-") + name, 10000);
            const QImage shown = session.save(focused.isNull() ? session.grab() : focused,
                                              QStringLiteral("focus-") + name);
            const double least = ringContrast(shown, scale, stop.ring, stop.background);
            measured << QStringLiteral("%1 %2:1").arg(name).arg(least, 0, 'f', 2);
            QVERIFY2(!focused.isNull(), qPrintable(QStringLiteral("the focus ring on %1 stands out "
                                                                  "only %2:1")
                                                       .arg(name)
                                                       .arg(least, 0, 'f', 2)));
        }
        qInfo("least contrast of the focus ring: %s",
              qPrintable(measured.join(QStringLiteral(", "))));
    }

    // A default run, then runs with other settings that keep or delete the curves.
    // Fractions travel as "0,5" or "0.5" after the locale, so this runs under both kinds.
    void runsWithSettings()
    {
        Session session(prefix());
        QVERIFY2(session.start(), qPrintable(session.error()));

        const QImage first = startRun(session, QStringLiteral("1-default"));
        QVERIFY2(!first.isNull(), qPrintable(session.error()));
        {
            Problems problems = checkRunEnd(first, 1);
            problems += checkCurve(first, 1, {Defaults, Green});
            problems +=
                checkVerticalLine(first, 1, 420, 190.5, 540.5, QStringLiteral("vertical axis"));
            problems += checkReferenceLines(first, 1, Defaults);
            problems += checkTopAxis(first, 1);
            problems += checkErasing(first, 1, Defaults);
            problems += checkNoCurve(first, 1, Red);
            problems += checkNoCurve(first, 1, Blue);
            QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        }

        // "0,5 red" chooses the red graph colour too and takes the picture away.
        session.click(clickPoint(Freq05));
        const QImage chosen = session.waitFor(
            [](const QImage &image) { return isChosen(image, 1, Freq05); }, QStringLiteral("op05"));
        QVERIFY2(!chosen.isNull(), qPrintable(session.error()));
        session.save(session.waitUntilSteady(QStringLiteral("after-op05")),
                     QStringLiteral("2-op05-chosen"));
        const QImage afterOption = session.grab();
        QVERIFY(isChosen(afterOption, 1, RedColour));
        QVERIFY(!isChosen(afterOption, 1, GreenColour));
        QVERIFY(!isChosen(afterOption, 1, Freq1));
        QCOMPARE(countOther(afterOption, 1, PictureRect, Grey), 0);

        // The question comes before anything is drawn.
        session.click(StartRect.center());
        const auto box = session.waitForQuestion();
        QVERIFY2(box, qPrintable(session.error()));
        const QImage asked = session.grabAndSave(QStringLiteral("2-question"));
        int changed = 0;
        for (int y = 160; y < 581; ++y) {
            for (int x = 0; x < 800; ++x)
                changed +=
                    !box->geometry.contains(x, y) && asked.pixel(x, y) != afterOption.pixel(x, y);
        }
        QVERIFY2(
            changed == 0,
            qPrintable(
                QStringLiteral("%1 pixels of the canvas changed before the answer").arg(changed)));

        QVERIFY(answer(session, *box, Answer::No, true));
        const QImage second = session.waitForRunEnd(QStringLiteral("2-no-red"));
        QVERIFY2(!second.isNull(), qPrintable(session.error()));
        {
            const Curve green{Defaults, Green};
            const Curve red{{0.5, 1}, Red};
            Problems problems = checkRunEnd(second, 1);
            problems += checkCurve(second, 1, green, {red});
            problems += checkCurve(second, 1, red, {green});
            problems += checkReferenceLines(second, 1, Defaults);
            problems += checkErasing(second, 1, red.settings);
            QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        }

        // At rest the pointer over the plot shows its row's numbers beside it, on a layer
        // above the picture: only a box right of and below the pointer changes, and once the
        // pointer leaves the plot the screen is the picture again, pixel for pixel.
        const QPoint overRow40(570, 231);
        session.movePointer(overRow40);
        const QImage readout = session.waitFor([&](const QImage &image) { return image != second; },
                                               QStringLiteral("2-readout"));
        QVERIFY2(!readout.isNull(), qPrintable(session.error()));
        session.save(session.waitUntilSteady(QStringLiteral("2-readout-steady")),
                     QStringLiteral("2-readout"));
        QRect changedBox;
        for (int y = 0; y < second.height(); ++y)
            for (int x = 0; x < second.width(); ++x)
                if (readout.pixel(x, y) != second.pixel(x, y))
                    changedBox |= QRect(x, y, 1, 1);
        QVERIFY2(QRect(overRow40, QSize(230, 50)).contains(changedBox),
                 qPrintable(QStringLiteral("the readout changed pixels from (%1, %2) to (%3, %4)")
                                .arg(changedBox.left())
                                .arg(changedBox.top())
                                .arg(changedBox.right())
                                .arg(changedBox.bottom())));
        session.movePointer(QPoint(790, 560));
        QVERIFY2(!session
                      .waitFor([&](const QImage &image) { return image == second; },
                               QStringLiteral("2-readout-gone"))
                      .isNull(),
                 qPrintable(session.error()));

        // "1,5 blue", answered Yes with the keyboard: only the blue curve is left.
        QVERIFY(choose(session, Freq15, BlueColour, QStringLiteral("op15")));
        const QImage third =
            runAnswering(session, Answer::Yes, false, QStringLiteral("3-yes-blue"));
        QVERIFY2(!third.isNull(), qPrintable(session.error()));
        {
            Problems problems = checkRunEnd(third, 1);
            problems += checkCurve(third, 1, {{1.5, 1}, Blue});
            problems += checkNoCurve(third, 1, Green);
            problems += checkNoCurve(third, 1, Red);
            problems += checkReferenceLines(third, 1, {1.5, 1});
            QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        }

        // Relative length "1,5", answered Yes with the mouse: the reference lines move.
        QVERIFY(choose(session, Len15, Len15, QStringLiteral("op15D")));
        const QImage fourth =
            runAnswering(session, Answer::Yes, true, QStringLiteral("4-yes-length-1_5"));
        QVERIFY2(!fourth.isNull(), qPrintable(session.error()));
        {
            const RunSettings settings{1.5, 1.5};
            Problems problems = checkRunEnd(fourth, 1);
            problems += checkCurve(fourth, 1, {settings, Blue});
            problems += checkReferenceLines(fourth, 1, settings);
            problems += checkReferenceLines(fourth, 1, Defaults, QStringLiteral("old"), false);
            problems += checkErasing(fourth, 1, settings);
            QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        }
    }

    // The question "Delete probability", answered with the mouse and with keys; Escape
    // and a close request leave it standing.
    void questionAnswers_data()
    {
        QTest::addColumn<QString>("ignored");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("withStart");

        QTest::newRow("mouse Yes") << QString() << QString() << true << false;
        QTest::newRow("mouse No") << QString() << QString() << false << false;
        QTest::newRow("Return") << QString() << QStringLiteral("Return") << true << false;
        QTest::newRow("n") << QString() << QStringLiteral("n") << false << false;
        QTest::newRow("Escape ignored, Return")
            << QStringLiteral("Escape") << QStringLiteral("Return") << true << false;
        QTest::newRow("close ignored, Tab space")
            << QStringLiteral("close") << QStringLiteral("Tab space") << false << false;
        // Typed as fast as a person never could: the n comes before the box can take the
        // keyboard, and still answers it.
        QTest::newRow("space n 1 ms apart on Start")
            << QString() << QStringLiteral("space n") << false << true;
        // As an on-screen keyboard sends it: the release reaches no window and the key stays
        // down for the X server, which repeats it.
        QTest::newRow("KP_Enter sent to the box")
            << QString() << QStringLiteral("--window KP_Enter") << true << false;
    }

    void questionAnswers()
    {
        QFETCH(QString, ignored);
        QFETCH(QString, keys);
        QFETCH(bool, yes);
        QFETCH(bool, withStart);

        Session session(prefix());
        QVERIFY2(session.start(), qPrintable(session.error()));
        QVERIFY2(!startRun(session, QStringLiteral("1-green")).isNull(),
                 qPrintable(session.error()));
        session.click(clickPoint(Freq05));
        QVERIFY2(!session
                      .waitFor([](const QImage &image) { return isChosen(image, 1, Freq05); },
                               QStringLiteral("op05"))
                      .isNull(),
                 qPrintable(session.error()));
        if (withStart) {
            // Back from the clicked option to Start over the colour group.
            session.key(QStringLiteral("shift+Tab shift+Tab"));
            session.key(keys, std::nullopt, 1);
            keys.clear();
        } else {
            session.click(StartRect.center());
        }
        const auto box = withStart ? std::nullopt : session.waitForQuestion();
        QVERIFY2(box || withStart, qPrintable(session.error()));
        const QImage asked = session.grabAndSave(QStringLiteral("2-question"));

        if (!ignored.isEmpty()) {
            if (ignored == QLatin1String("close"))
                session.display().requestClose(box->id);
            else
                session.key(ignored, box);
            // Nothing can show that a request was ignored but the lack of any reaction;
            // a slow machine can only make this check pass too early, never fail.
            QThread::msleep(1000);
            const QImage after = session.grabAndSave(QStringLiteral("3-after-") + ignored);
            QVERIFY2(session.question(), "the question went away without an answer");
            QVERIFY2(after == asked, "the picture changed without an answer");
        }

        if (withStart) {
            // Answered already.
        } else if (keys.isEmpty()) {
            QVERIFY(answer(session, *box, yes ? Answer::Yes : Answer::No, true));
        } else if (keys.startsWith(u"--window ")) {
            session.keyToWindow(keys.sliced(9), *box);
        } else {
            session.key(keys, box);
        }
        const QImage end = session.waitForRunEnd(QStringLiteral("4-answered"));
        QVERIFY2(!end.isNull(), qPrintable(session.error()));
        const Curve green{Defaults, Green};
        const Curve red{{0.5, 1}, Red};
        Problems problems = checkRunEnd(end, 1);
        if (yes) {
            problems += checkCurve(end, 1, red);
            problems += checkNoCurve(end, 1, Green);
        } else {
            problems += checkCurve(end, 1, red, {green});
            problems += checkCurve(end, 1, green, {red});
        }
        QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        // One answer, one run: nothing else starts, and Exit ends the program.
        session.click(ExitRect.center());
        const std::optional<int> status = session.waitForExit();
        QVERIFY2(status, qPrintable(session.error()));
        QCOMPARE(*status, 0);
    }

    // Clicks during a run wait for its end and are then handled in order: two settings,
    // then Start, which asks the question of a second run with the new settings.
    void inputDuringRun()
    {
        Session session(prefix());
        QVERIFY2(session.start(), qPrintable(session.error()));
        if (!session.holdWindowContents())
            QSKIP("the X server lacks the Composite extension");
        // The window has the keyboard, so that a focus moved by a click would show.
        session.key(QStringLiteral("shift"));

        slowDown(session);
        session.click(StartRect.center());
        const QImage before = runUntil(session, 60, Green, Defaults);
        QVERIFY2(!before.isNull(), qPrintable(session.error()));
        session.click(clickPoint(Freq05));
        // Time for the window to show what the click did to it, were it to show anything.
        QThread::msleep(500);
        const QImage clicked = session.grabAndSave(QStringLiteral("1-clicked-during-run"));
        if (!runLooksComplete(clicked, 1)) {
            // The window looks as frozen as it is: no option chosen, no focus moved, nothing
            // lit up under the pointer.
            int changed = 0;
            for (const QRect &rect : VisibleControls)
                for (int y = rect.top(); y <= rect.bottom(); ++y)
                    for (int x = rect.left(); x <= rect.right(); ++x)
                        changed += clicked.pixel(x, y) != before.pixel(x, y);
            QVERIFY2(changed == 0, qPrintable(QStringLiteral("%1 pixels of the controls changed "
                                                             "while the run was going on")
                                                  .arg(changed)));
        }
        session.click(clickPoint(Len15));
        // Back to the fastest speed for the second run, also only once this one is over.
        const QPoint leftArrow(ScrollRect.left() + 7, ScrollRect.center().y());
        session.click(leftArrow);
        session.click(leftArrow);
        session.click(StartRect.center());

        // The queued Start asks its question once the settings have changed.
        const auto box = session.waitForQuestion();
        QVERIFY2(box, qPrintable(session.error()));
        session.grabAndSave(QStringLiteral("2-question"));
        const QImage under =
            session.save(session.heldWindowContents(), QStringLiteral("2-under-question"));
        QVERIFY(!under.isNull());
        {
            // The first run went on with the settings it started with, all 301 points.
            Problems problems = checkSheet(under, 1);
            problems += checkCurve(under, 1, {Defaults, Green});
            problems += checkNoCurve(under, 1, Red);
            QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
            QVERIFY(isChosen(under, 1, Freq05));
            QVERIFY(isChosen(under, 1, RedColour));
            QVERIFY(isChosen(under, 1, Len15));
            QVERIFY2(countOther(under, 1, PictureRect, Grey) == 0,
                     "the thickness picture is still shown after a frequency option");
        }

        session.key(QStringLiteral("n"), box);
        const QImage end = session.waitForRunEnd(QStringLiteral("3-second-run"));
        QVERIFY2(!end.isNull(), qPrintable(session.error()));
        const Curve green{Defaults, Green};
        const Curve red{{0.5, 1.5}, Red};
        Problems problems = checkRunEnd(end, 1);
        problems += checkCurve(end, 1, green, {red});
        problems += checkCurve(end, 1, red, {green});
        problems += checkReferenceLines(end, 1, green.settings, QStringLiteral("first"));
        problems += checkReferenceLines(end, 1, red.settings, QStringLiteral("second"));
        QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
    }

    // Input during a run that ends the program: the run finishes, then what was given is
    // carried out in order up to Exit or a close request, which ends the program normally;
    // what came after it is dropped. A Start among it asks its question (once) and runs
    // with the settings from before the input that followed it, and that input is carried
    // out after the second run, keys as well as clicks.
    void endDuringRun_data()
    {
        QTest::addColumn<QStringList>("during");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<QString>("chosenAfter");
        QTest::addColumn<bool>("scrolled");

        const QString start = QStringLiteral("Start");
        const QString red = QStringLiteral("0,5 red");
        const QString scroll = QStringLiteral("scroll");
        const QString exit = QStringLiteral("Exit");
        const QString close = QStringLiteral("close");
        QTest::newRow("Exit") << QStringList{exit} << false << QString() << false;
        QTest::newRow("close request") << QStringList{close} << false << QString() << false;
        QTest::newRow("Start, 0,5 red, scroll, Exit")
            << QStringList{start, red, scroll, exit} << true << QString::fromUtf8(Freq05.name)
            << true;
        QTest::newRow("Start, 0,5 red, scroll, close request")
            << QStringList{start, red, scroll, close} << true << QString::fromUtf8(Freq05.name)
            << true;
        QTest::newRow("Exit, Start") << QStringList{exit, start} << false << QString() << false;
        // Space presses Start, which has the focus; after the second run Tab goes to the
        // chosen colour "zelená" and Down chooses the next one, "modrá".
        QTest::newRow("keys space Tab Down, Exit")
            << QStringList{QStringLiteral("keys space Tab Down"), exit} << true
            << QString::fromUtf8(BlueColour.name) << false;
    }

    void endDuringRun()
    {
        QFETCH(QStringList, during);
        QFETCH(bool, asks);
        QFETCH(QString, chosenAfter);
        QFETCH(bool, scrolled);
        Session session(prefix());
        QVERIFY2(session.start(), qPrintable(session.error()));
        const QImage atStart = session.grab();
        if (!session.holdWindowContents())
            QSKIP("the X server lacks the Composite extension");

        slowDown(session);
        session.click(StartRect.center());
        const QImage early = runUntil(session, 40, Green, Defaults);
        QVERIFY2(!early.isNull(), qPrintable(session.error()));
        for (const QString &input : during) {
            if (input == QLatin1String("Start"))
                session.click(StartRect.center());
            else if (input == QLatin1String("0,5 red"))
                session.click(clickPoint(Freq05));
            else if (input == QLatin1String("scroll"))
                session.click(ScrollRightArrow);
            else if (input == QLatin1String("Exit"))
                session.click(ExitRect.center());
            else if (input == QLatin1String("close"))
                session.display().requestClose(session.window());
            else
                session.key(input.sliced(5));
        }
        const QImage given = session.grabAndSave(QStringLiteral("1-input-given"));
        if (runLooksComplete(given, 1))
            QSKIP("the run ended before all the input was given: too busy a machine to try this");

        // The run goes on: later points appear in the window (unless the test saw none of
        // them, too busy to look; the last picture below tells all the same).
        const QRect spot(int(420 + plotX(Defaults, 150)) - 2, 190 + 150 - 1, 5, 3);
        const QImage later = session.waitFor(
            [&](const QImage &image) {
                return countColour(image, 1, spot, Green) > 0 ||
                       !session.display().findMapped(Session::MainTitle);
            },
            QStringLiteral("point-150"));
        QVERIFY2(!later.isNull(), qPrintable(session.error()));
        session.save(later, QStringLiteral("1-run-goes-on"));

        if (asks) {
            const auto box = session.waitForQuestion();
            QVERIFY2(box, qPrintable(session.error()));
            session.grabAndSave(QStringLiteral("2-question"));
            const auto windows = session.display().mappedTopLevels();
            QCOMPARE(std::count_if(windows.begin(), windows.end(),
                                   [](const XDisplay::TopLevel &window) {
                                       return window.title == Session::QuestionTitle;
                                   }),
                     1);
            session.key(QStringLiteral("n"), box);
            QVERIFY2(!session
                          .waitFor([&](const QImage &) { return !session.question(); },
                                   QStringLiteral("question-answered"))
                          .isNull(),
                     qPrintable(session.error()));
        }

        // No (further) question on the way to the end.
        bool asked = false;
        std::optional<int> status;
        for (QDeadlineTimer deadline(60000);
             !status && session.isRunning() && !deadline.hasExpired();) {
            asked = asked || session.question();
            status = session.waitForExit(100);
        }
        if (asked || !status)
            session.grabAndSave(asked ? QStringLiteral("3-asked-again")
                                      : QStringLiteral("3-did-not-end"));
        QVERIFY2(!asked, "a question was asked after the input that ends the program");
        QVERIFY2(status, qPrintable(session.error()));
        QCOMPARE(*status, 0);

        // What the window showed as it closed: every run ended, green at frequency 1 (a
        // second run too, started before "0,5 red" was clicked), and the input given after
        // a Start carried out.
        const QImage last =
            session.save(session.heldWindowContents(), QStringLiteral("4-last-picture"));
        QVERIFY(!last.isNull());
        // An option chosen takes the thickness picture away.
        Problems problems = chosenAfter.isEmpty() ? checkRunEnd(last, 1) : checkSheet(last, 1);
        problems += checkCurve(last, 1, {Defaults, Green});
        problems += checkNoCurve(last, 1, Red);
        QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        for (const OptionButton &option : AllOptions) {
            const QString name = QString::fromUtf8(option.name);
            bool expected = chosenAtStart(option);
            if (chosenAfter == QString::fromUtf8(Freq05.name))
                expected = name == chosenAfter || option.rect == RedColour.rect ||
                           option.rect == Len1.rect;
            else if (!chosenAfter.isEmpty() && isColour(option))
                expected = name == chosenAfter;
            QVERIFY2(isChosen(last, 1, option) == expected,
                     qPrintable(QStringLiteral("%1 is %2chosen at the end")
                                    .arg(name, expected ? QStringLiteral("not ") : QString())));
        }
        // Two steps from 1 to 3 before the run; one more if the arrow's click was carried out.
        const int step = (thumbEnd(early) - thumbEnd(atStart)) / 2;
        const int moved = thumbEnd(last) - thumbEnd(early);
        QVERIFY2(step > 0, "the scroll bar's thumb did not move before the run");
        QVERIFY2(scrolled ? std::abs(moved - step) <= 1 : moved == 0,
                 qPrintable(QStringLiteral("the scroll bar's thumb moved by %1 pixels at the end, "
                                           "%2 pixels a step")
                                .arg(moved)
                                .arg(step)));
    }

    // At a screen scale of 2 the canvas is drawn at the screen's resolution: crisp lines
    // two device pixels wide, exact erasing, everything at its logical place.
    void hiDpi()
    {
        constexpr int scale = 2;
        Session session(prefix(), scale);
        session.setEnvironment(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
        QVERIFY2(session.start(), qPrintable(session.error()));
        const QImage start = session.grabAndSave(QStringLiteral("1-start"));
        const auto window = session.display().findMapped(Session::MainTitle);
        QVERIFY(window);
        QCOMPARE(window->geometry, QRect(0, 0, 800 * scale, 581 * scale));
        const Problems frames = checkFramesAtStart(start, scale);
        QVERIFY2(frames.isEmpty(), qPrintable(report(frames)));

        const QImage first = startRun(session, QStringLiteral("2-default"));
        QVERIFY2(!first.isNull(), qPrintable(session.error()));
        {
            Problems problems = checkRunEnd(first, scale);
            problems += checkCurve(first, scale, {Defaults, Green});
            problems +=
                checkVerticalLine(first, scale, 420, 190.5, 540.5, QStringLiteral("vertical axis"));
            problems += checkReferenceLines(first, scale, Defaults);
            problems += checkTopAxis(first, scale);
            problems += checkErasing(first, scale, Defaults);
            QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        }
        // Crisp: no blended colours where the run draws.
        const QRect graph(417, 189, 383, 357);
        const QRect dial(426, 55, 174, 115); // clear of the labels around it
        const QRect sheet(30, 191, 370, 301);
        QCOMPARE(countNotIn(first, scale, graph, {Grey, Black, Green}), 0);
        QCOMPARE(countNotIn(first, scale, dial, {Grey, Black, Red, Green, Pink}), 0);
        QCOMPARE(countNotIn(first, scale, sheet, {Cyan, Black}), 0);
        // At the screen's resolution: a picture drawn at one pixel per logical pixel and
        // blown up would show only uniform 2 x 2 blocks; the slanting paths and the round
        // points of a canvas drawn at full resolution do not.
        const int mixedInSheet = mixedBlocks(first, scale, sheet);
        const int mixedInGraph = mixedBlocks(first, scale, graph);
        qInfo("2 x 2 blocks of mixed colour: %d in the sheet, %d on the graph", mixedInSheet,
              mixedInGraph);
        QVERIFY2(mixedInSheet > 100 && mixedInGraph > 100,
                 "the canvas looks drawn at 1x and scaled up");
        QVERIFY2(mixedBlocks(first, scale, PictureRect) > 20,
                 "the thickness picture looks drawn at 1x and scaled up");

        // Erasing at device resolution: Yes wipes the old curve without a trace.
        session.click(clickPoint(Freq05));
        QVERIFY2(!session
                      .waitFor([](const QImage &image) { return isChosen(image, scale, Freq05); },
                               QStringLiteral("op05"))
                      .isNull(),
                 qPrintable(session.error()));
        session.click(StartRect.center());
        const auto box = session.waitForQuestion();
        QVERIFY2(box, qPrintable(session.error()));
        session.grabAndSave(QStringLiteral("3-question"));
        QVERIFY(answer(session, *box, Answer::Yes, true));
        const QImage second = session.waitForRunEnd(QStringLiteral("4-yes-red"));
        QVERIFY2(!second.isNull(), qPrintable(session.error()));
        Problems problems = checkRunEnd(second, scale);
        problems += checkCurve(second, scale, {{0.5, 1}, Red});
        problems += checkNoCurve(second, scale, Green);
        problems += checkErasing(second, scale, {0.5, 1});
        QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        QCOMPARE(countNotIn(second, scale, graph, {Grey, Black, Red}), 0);
    }

    // Twenty runs in a row, with random clicks on every control between them: the
    // program keeps drawing what its controls show, its memory stays flat, and Exit at
    // the end ends it normally.
    void twentyRuns()
    {
        constexpr quint32 Seed = 20;
        QRandomGenerator random(Seed);
        qInfo("random clicks from seed %u", Seed);

        struct Target {
            const char *name;
            QRect rect;
        };
        const QList<Target> targets{
            {BlackColour.name, BlackColour.rect},
            {RedColour.name, RedColour.rect},
            {GreenColour.name, GreenColour.rect},
            {BlueColour.name, BlueColour.rect},
            {Freq05.name, Freq05.rect},
            {Freq1.name, Freq1.rect},
            {Freq15.name, Freq15.rect},
            {Len05.name, Len05.rect},
            {Len1.name, Len1.rect},
            {Len15.name, Len15.rect},
            {"scroll bar", ScrollRect},
            {"title", {312, 0, 217, 25}},
            {"Vectors of two paths", {632, 72, 129, 19}},
            {"frame Graph colour", {80, 0, 137, 57}},
            {"frame Relative frequency", {136, 72, 161, 57}},
            {"frame Relative length", {632, 88, 129, 65}},
            {"prompt", PromptRect},
            {"thickness picture", PictureRect},
            {"label Source", SourceLabel},
            {"label Detector", DetectorLabel},
            {"label Interfernce pattern", PatternLabel},
            {"dial", {420, 60, 150, 100}},
            {"sheet", {30, 191, 370, 301}},
            {"graph", {420, 191, 360, 350}},
        };
        const QRect scrollLeftArrow(344, 24, 16, 17);

        Session session(prefix());
        QVERIFY2(session.start(), qPrintable(session.error()));
        qint64 afterFirst = 0;
        qint64 afterLast = 0;
        for (int run = 1; run <= 20; ++run) {
            if (run > 1) {
                int scrollClicks = 0;
                QStringList clicked;
                for (int i = 0; i < 6; ++i) {
                    const Target &target = targets[int(random.bounded(qsizetype(targets.size())))];
                    const QPoint at(target.rect.x() + int(random.bounded(target.rect.width())),
                                    target.rect.y() + int(random.bounded(target.rect.height())));
                    session.click(at);
                    scrollClicks += target.rect == ScrollRect;
                    clicked << QStringLiteral("%1 (%2,%3)")
                                   .arg(QString::fromUtf8(target.name))
                                   .arg(at.x())
                                   .arg(at.y());
                }
                // Back to the fastest speed, to keep the suite short.
                for (int i = 0; i < scrollClicks; ++i)
                    session.click(scrollLeftArrow.center());
                qInfo("before run %d: %s", run, qPrintable(clicked.join(QStringLiteral(", "))));
                QVERIFY2(session.isRunning(), qPrintable(session.programOutput()));
            }

            // What the controls show is what the run must draw.
            const QImage settled = session.waitUntilSteady(QStringLiteral("settled"));
            QVERIFY2(!settled.isNull(), qPrintable(session.error()));
            const auto chosenIn =
                [&](std::initializer_list<std::pair<OptionButton, double>> group) {
                    QList<double> values;
                    for (const auto &[option, value] : group) {
                        if (isChosen(settled, 1, option))
                            values << value;
                    }
                    return values;
                };
            const QList<double> frequency = chosenIn({{Freq05, 0.5}, {Freq1, 1}, {Freq15, 1.5}});
            const QList<double> length = chosenIn({{Len05, 0.5}, {Len1, 1}, {Len15, 1.5}});
            const QList<double> colour = chosenIn(
                {{BlackColour, Black}, {RedColour, Red}, {GreenColour, Green}, {BlueColour, Blue}});
            if (frequency.size() != 1 || length.size() != 1 || colour.size() != 1) {
                session.save(settled, QStringLiteral("run%1-options").arg(run));
                QFAIL("not exactly one option chosen in every group");
            }
            const Curve curve{{frequency[0], length[0]}, QRgb(colour[0])};

            session.click(StartRect.center());
            if (run > 1) {
                const auto box = session.waitForQuestion();
                QVERIFY2(box, qPrintable(session.error()));
                QVERIFY(answer(session, *box, Answer::Yes, run % 2 == 0));
            }
            const QImage end =
                session.waitForRunEnd(QStringLiteral("run%1").arg(run, 2, 10, QLatin1Char('0')));
            QVERIFY2(!end.isNull(), qPrintable(session.error()));
            // Black points share their colour with the axes: only their places are checked.
            Problems problems = checkCurve(end, 1, curve, {}, curve.colour != Black);
            problems += checkSheet(end, 1);
            QVERIFY2(problems.isEmpty(),
                     qPrintable(QStringLiteral("run %1: %2").arg(run).arg(report(problems))));

            if (run == 1)
                afterFirst = session.residentKiB();
            if (run == 20)
                afterLast = session.residentKiB();
        }
        qInfo("resident memory: %lld KiB after run 1, %lld KiB after run 20", afterFirst,
              afterLast);
        QVERIFY(afterFirst > 0 && afterLast > 0);
        // Generous: a leak of the run's drawing would grow by megabytes per run.
        QVERIFY2(afterLast - afterFirst < 16 * 1024,
                 qPrintable(QStringLiteral("resident memory grew from %1 KiB to %2 KiB")
                                .arg(afterFirst)
                                .arg(afterLast)));

        session.click(ExitRect.center());
        const auto status = session.waitForExit();
        QVERIFY2(status, qPrintable(session.error()));
        QCOMPARE(*status, 0);
    }

    // Ctrl+C given during a run copies the finished picture once the run is over; Ctrl+S
    // through the file dialog writes the same picture as a PNG: the window as it shows.
    void pictureLeavesTheWindow()
    {
        Session session(prefix());
        QVERIFY2(session.start(), qPrintable(session.error()));
        session.click(StartRect.center());
        session.key(QStringLiteral("ctrl+c"));
        const QImage end = session.waitForRunEnd(QStringLiteral("run"));
        QVERIFY2(!end.isNull(), qPrintable(session.error()));
        const QImage shown = session.waitUntilSteady(QStringLiteral("steady"));
        QVERIFY2(!shown.isNull(), qPrintable(session.error()));
        const auto same = [&shown](const QImage &image) {
            return image.convertToFormat(QImage::Format_RGB32) ==
                   shown.convertToFormat(QImage::Format_RGB32);
        };

        const QImage copied = QImage::fromData(session.display().clipboard("image/png", 10000));
        session.save(copied, QStringLiteral("clipboard"));
        QVERIFY2(same(copied), "the clipboard does not hold the finished window");

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("saved.png"));
        session.key(QStringLiteral("ctrl+s"));
        std::optional<XDisplay::TopLevel> dialog;
        const QDeadlineTimer deadline(30000);
        while (!(dialog = session.display().findMapped(QStringLiteral("Save picture"))) &&
               !deadline.hasExpired())
            QThread::msleep(50);
        QVERIFY2(dialog, "no file dialog titled \"Save picture\"");
        session.grabAndSave(QStringLiteral("dialog"));
        // A key the X server still sends to the window the dialog blocks is not the dialog's:
        // only the run's question takes such keys.
        session.key(QStringLiteral("Escape"));
        QThread::msleep(1000);
        QVERIFY2(session.display().findMapped(QStringLiteral("Save picture")),
                 "Escape sent to the window closed the file dialog");
        session.key(QStringLiteral("ctrl+a"), dialog);
        session.type(path, dialog);
        session.key(QStringLiteral("Return"), dialog);
        while (!QFile::exists(path) && !deadline.hasExpired())
            QThread::msleep(50);
        QVERIFY2(QFile::exists(path), "the picture was not saved");
        QTRY_VERIFY_WITH_TIMEOUT(!QImage(path).isNull(), 10000);
        QVERIFY2(same(session.save(QImage(path), QStringLiteral("saved"))),
                 "the saved picture is not the window as it shows");
    }
    // On a projector's 1920 x 1080: full screen covers the screen at the largest zoom that
    // fits, 1.75, the picture centred; Start at its zoomed place starts a run whose curve
    // lies where the model puts it; a second run kept with No; F11 goes back to a window of
    // the same zoom with the picture kept, and Exit ends the program quietly.
    void fullScreen()
    {
        constexpr double zoom = 1.75;
        const QSize screen = XDisplay().screenSize();
        QCOMPARE(screen, QSize(1920, 1080));
        Session session(prefix(), zoom);
        session.setArguments({QStringLiteral("--fullscreen")});
        // Centred, on the grid of 4 window pixels that the zoom maps to whole device pixels.
        const QSize logical(qRound(screen.width() / zoom), qRound(screen.height() / zoom));
        const QPoint origin =
            QPoint((logical.width() - 800) / 2 / 4 * 4, (logical.height() - 581) / 2 / 4 * 4) *
            zoom;
        session.setOrigin(origin);
        QVERIFY2(session.start(), qPrintable(session.error()));
        const auto window = session.display().findMapped(Session::MainTitle);
        QVERIFY(window);
        QCOMPARE(window->geometry, QRect(QPoint(0, 0), screen));
        // Every control lies in the picture's rectangle, and that on the screen.
        QVERIFY(QRect(QPoint(0, 0), screen).contains(QRect(origin, ClientSize * zoom)));
        QVERIFY2(std::abs(origin.x() * 2 + 800 * zoom - screen.width()) <= 8 * zoom &&
                     std::abs(origin.y() * 2 + 581 * zoom - screen.height()) <= 8 * zoom,
                 "the picture is not centred");
        const QImage start = session.grabAndSave(QStringLiteral("1-start"));
        QVERIFY(hasDarkPixels(start, zoom, ExitRect));

        const QImage first = startRun(session, QStringLiteral("2-default"));
        QVERIFY2(!first.isNull(), qPrintable(session.error()));
        Problems problems = checkCurve(first, zoom, {Defaults, Green});
        QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        const QRect graph(417, 189, 383, 357);
        QCOMPARE(countNotIn(first, zoom, graph, {Grey, Black, Green}), 0);

        session.click(clickPoint(Freq05));
        const QImage second = runAnswering(session, Answer::No, false, QStringLiteral("3-no-red"));
        QVERIFY2(!second.isNull(), qPrintable(session.error()));
        const Curve green{Defaults, Green}, red{{0.5, 1}, Red};
        problems = checkCurve(second, zoom, green, {red}) + checkCurve(second, zoom, red, {green});
        QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        session.save(session.display().grab(QRect(QPoint(0, 0), screen)),
                     QStringLiteral("4-whole-screen"));

        session.key(QStringLiteral("F11"));
        // Started in full screen, the window has no place of its own to go back to: it stands
        // centred on the screen, where a window manager's title bar has room above it.
        session.setOrigin(QPoint(screen.width() - 1400, screen.height() - 1017) / 2);
        QVERIFY2(!session
                      .waitFor(
                          [&](const QImage &image) {
                              const auto shown = session.display().findMapped(Session::MainTitle);
                              return shown && shown->geometry.size() == ClientSize * zoom &&
                                     checkCurve(image, zoom, red, {green}, false).isEmpty();
                          },
                          QStringLiteral("5-window"))
                      .isNull(),
                 qPrintable(session.error()));
        session.click(ExitRect.center());
        QCOMPARE(session.waitForExit(), 0);
        QCOMPARE(session.programOutput(), QString());
    }

    void startupNotification_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<double>("zoom");
        QTest::newRow("plain") << QStringList{} << 1.0;
        QTest::newRow("full screen, at its zoom")
            << QStringList{QStringLiteral("--fullscreen")} << 1.75;
    }

    // Started from a menu, the program tells the desktop once that its window is there, so
    // that the busy cursor goes: also in full screen at a fitted zoom.
    void startupNotification()
    {
        QFETCH(QStringList, arguments);
        QFETCH(double, zoom);
        XDisplay launcher;
        launcher.listenForStartupMessages();
        const QString id = QStringLiteral("quorvane-e2e-%1_TIME0").arg(QTest::currentDataTag()[0]);
        Session session(prefix(), zoom);
        session.setEnvironment(QStringLiteral("DESKTOP_STARTUP_ID"), id);
        session.setArguments(arguments);
        if (zoom != 1) {
            const QSize screen = XDisplay().screenSize();
            const QSize logical(qRound(screen.width() / zoom), qRound(screen.height() / zoom));
            session.setOrigin(
                QPoint((logical.width() - 800) / 2 / 4 * 4, (logical.height() - 581) / 2 / 4 * 4) *
                zoom);
        }
        QVERIFY2(session.start(), qPrintable(session.error()));
        const std::vector<QByteArray> messages = launcher.startupMessages(30000);
        QCOMPARE(messages, std::vector<QByteArray>{"remove: ID=" + id.toLatin1()});
    }

    // Under a window manager that frames the window: a start in full screen covers the
    // screen; F11 brings a window whose frame's title bar is on the screen; moved elsewhere,
    // F11 twice leaves it exactly where it was, frame and all.
    void fullScreenUnderAWindowManager()
    {
        constexpr double zoom = 1.75;
        const QSize screenSize = XDisplay().screenSize();
        const QRect screen(QPoint(0, 0), screenSize);
        Session session(prefix(), zoom);
        session.setArguments({QStringLiteral("--fullscreen")});
        const QSize logical(qRound(screenSize.width() / zoom), qRound(screenSize.height() / zoom));
        session.setOrigin(
            QPoint((logical.width() - 800) / 2 / 4 * 4, (logical.height() - 581) / 2 / 4 * 4) *
            zoom);
        QVERIFY2(session.start(), qPrintable(session.error()));
        const auto shown = [&session] { return session.display().findMapped(Session::MainTitle); };
        const auto settled = [&](const std::function<bool(const XDisplay::TopLevel &)> &test,
                                 const char *what) {
            const QDeadlineTimer deadline(30000);
            std::optional<XDisplay::TopLevel> window;
            while (!deadline.hasExpired()) {
                if ((window = shown()) && test(*window))
                    return true;
                QThread::msleep(50);
            }
            session.save(session.display().grab(screen), QString::fromUtf8(what));
            if (window)
                qWarning("the window at %d, %d, %d x %d, its frame at %d, %d, %d x %d",
                         window->geometry.x(), window->geometry.y(), window->geometry.width(),
                         window->geometry.height(), window->frame.x(), window->frame.y(),
                         window->frame.width(), window->frame.height());
            return false;
        };
        QVERIFY2(settled([&](const auto &w) { return w.geometry == screen; }, "1-fullscreen"),
                 "--fullscreen did not cover the screen");

        const auto framedOnScreen = [&](const XDisplay::TopLevel &w) {
            // The zoomed height rounds either way: 581 x 1.75 is 1016.75.
            const QSize size = ClientSize * zoom;
            return w.geometry.width() == size.width() &&
                   std::abs(w.geometry.height() - size.height()) <= 1 && w.frame != w.geometry &&
                   screen.contains(w.frame);
        };
        session.key(QStringLiteral("F11"));
        QVERIFY2(settled(framedOnScreen, "2-window"),
                 "out of full screen the framed window is not wholly on the screen");
        session.grabAndSave(QStringLiteral("2-window"));
        const QRect placed = shown()->frame;

        QVERIFY(session.display().moveWindow(session.window(), {150, 40}));
        QVERIFY2(settled(
                     [&](const auto &w) {
                         return framedOnScreen(w) && w.frame.topLeft() != placed.topLeft();
                     },
                     "3-moved"),
                 "the window did not move");
        // The window manager may settle the place in more than one step.
        QThread::msleep(500);
        const std::optional<XDisplay::TopLevel> before = shown();
        QVERIFY(before);
        session.key(QStringLiteral("F11"));
        QVERIFY2(settled([&](const auto &w) { return w.geometry == screen; }, "4-fullscreen"),
                 "F11 did not cover the screen");
        session.key(QStringLiteral("F11"));
        QVERIFY2(settled(
                     [&](const auto &w) {
                         // The toolkit keeps places in window pixels, which a zoom of 1.75
                         // maps to the nearest device pixel.
                         const QPoint by = w.geometry.topLeft() - before->geometry.topLeft();
                         return w.geometry.size() == before->geometry.size() &&
                                w.frame.size() == before->frame.size() &&
                                w.frame.topLeft() - before->frame.topLeft() == by &&
                                std::abs(by.x()) <= 1 && std::abs(by.y()) <= 1;
                     },
                     "5-back"),
                 qPrintable(QStringLiteral("F11 did not bring the window back to %1, %2")
                                .arg(before->geometry.x())
                                .arg(before->geometry.y())));
        session.grabAndSave(QStringLiteral("5-back"));

        // Ctrl+Minus: a step smaller, the frame's corner where it was; F11 there and back
        // gives that zoom back.
        const std::optional<XDisplay::TopLevel> big = shown();
        QVERIFY(big);
        const auto smaller = [&](const XDisplay::TopLevel &w) {
            const QPoint by = w.frame.topLeft() - big->frame.topLeft();
            return w.geometry.size() == ClientSize * 1.5 && screen.contains(w.frame) &&
                   std::abs(by.x()) <= 2 && std::abs(by.y()) <= 2;
        };
        session.key(QStringLiteral("ctrl+minus"));
        QVERIFY2(settled(smaller, "6-smaller"), "Ctrl+Minus did not zoom the window to 1.5");
        session.key(QStringLiteral("F11"));
        QVERIFY2(settled([&](const auto &w) { return w.geometry == screen; }, "7-fullscreen"),
                 "F11 did not cover the screen");
        session.key(QStringLiteral("F11"));
        QVERIFY2(settled(smaller, "8-back"), "F11 did not give zoom 1.5 back");
        session.grabAndSave(QStringLiteral("8-back"));
    }

    void zoomLoweredToFit_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("screenScale");
        QTest::addColumn<QString>("asked");
        QTest::newRow("--zoom 3") << QStringList{"--zoom", "3"} << QString() << "3";
        // What KDE on X11 sets when a person picks a display scale of 200 %.
        QTest::newRow("a desktop's scale of 2") << QStringList{} << "2"
                                                << "2";
        QTest::newRow("a desktop's scale of 2, full screen")
            << QStringList{"--fullscreen"} << "2" << QString();
    }

    // A zoom too large for the screen, from the command line or the desktop, is lowered to the
    // largest step that fits, with one line on standard error; the whole window stays on the
    // screen.
    void zoomLoweredToFit()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, screenScale);
        QFETCH(QString, asked);
        Session session(prefix(), 1.75);
        session.setArguments(arguments);
        if (!screenScale.isEmpty())
            session.setEnvironment(QStringLiteral("QT_SCREEN_SCALE_FACTORS"), screenScale);
        const bool fullScreen = arguments.contains(QStringLiteral("--fullscreen"));
        if (fullScreen)
            session.setOrigin(QPoint((1097 - 800) / 2 / 4 * 4, (617 - 581) / 2 / 4 * 4) * 1.75);
        QVERIFY2(session.start(), qPrintable(session.error()));
        const auto window = session.display().findMapped(Session::MainTitle);
        QVERIFY(window);
        QCOMPARE(window->geometry, fullScreen ? QRect(0, 0, 1920, 1080) : QRect(0, 0, 1400, 1017));
        session.grabAndSave(QStringLiteral("start"));
        QCOMPARE(session.programOutput(),
                 asked.isEmpty()
                     ? QString()
                     : QStringLiteral("quorvane: zoom %1 does not fit the screen's available "
                                      "area of 1920 x 1080 pixels; zoom 1.75 instead\n")
                           .arg(asked));
    }
};

QTEST_GUILESS_MAIN(EndToEnd)
#include "tst_e2e.moc"
