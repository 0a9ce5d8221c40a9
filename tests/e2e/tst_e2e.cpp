// End-to-end tests: the built program on a private X server (see run-under-xvfb.sh),
// driven with real pointer and key events and judged by its screenshots.

#include "picture.h"
#include "session.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <optional>

using namespace Pict;

namespace {

const RunSettings Defaults{1, 1};

enum class Answer { Yes, No };

QString prefix(const QString &extra = {}) {
    QString name = QString::fromLatin1(QTest::currentTestFunction());
    if (const char *tag = QTest::currentDataTag())
        name += u'-' + QString::fromUtf8(tag).replace(u' ', u'_').replace(u',', u'_');
    if (!extra.isEmpty())
        name += u'-' + extra;
    return name + u'-' + QLocale::system().name();
}

QString report(const Problems &problems) {
    return problems.join(QStringLiteral("\n   "));
}

// The buttons of the question box, left to right, as centres in device pixels. A button's
// frame is the only thing in the box with long vertical edges darker than the box.
QList<QPoint> questionButtons(const QImage &box, int scale) {
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
        if (longest >= 16 * scale && (edges.isEmpty() || x > edges.last() + 1)) {
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
    {632, 72, 129, 19},                     // "Vectors of two paths "
    ScrollRect,         {312, 0, 217, 25},  // the title "Quorvane"
    {632, 88, 129, 65},                     // "Relative length "
    ExitRect,           {136, 72, 161, 57}, // "Relative frequency"
    {80, 0, 137, 57},                       // "Graph colour"
    StartRect,
};

const OptionButton AllOptions[] = {Black_, RedColour, GreenColour, BlueColour, Freq05,
                                   Freq1,  Freq15,    Len05,       Len1,       Len15};

} // namespace

class EndToEnd : public QObject {
    Q_OBJECT

private:
    // Clicks Start (or presses keys) and waits for the run's end picture.
    static QImage startRun(Session &session, const QString &step) {
        session.click(StartRect.center());
        return session.waitForRunEnd(step);
    }

    // Answers the question shown now, with the mouse or with keys, and returns the picture
    // at the end of the run that follows.
    static bool answer(Session &session, const XDisplay::TopLevel &box, Answer answer,
                       bool withMouse) {
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

    static QImage runUntil(Session &session, int thickness, QRgb colour,
                           const RunSettings &settings) {
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
    void initTestCase() {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"),
                 "run these tests through run-under-xvfb.sh, which starts their X server");
        QVERIFY2(XDisplay().isOpen(), "cannot open the X display");
        qInfo("locale %s, display %s", qPrintable(QLocale::system().name()),
              qPrintable(qEnvironmentVariable("DISPLAY")));
    }

    // The window as it first shows, and the space bar pressing Start, which has the focus.
    void windowAtStart() {
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
            const bool expected = option.rect == Freq1.rect || option.rect == Len1.rect ||
                                  option.rect == GreenColour.rect;
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

        session.key(QStringLiteral("space"));
        const QImage end = session.waitForRunEnd(QStringLiteral("space-run"));
        QVERIFY2(!end.isNull(), qPrintable(session.error()));
        Problems problems = checkRunEnd(end, 1);
        problems += checkCurve(end, 1, {Defaults, Green});
        QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
    }

    // A default run, then runs with other settings that keep or delete the curves.
    // Fractions travel as "0,5" or "0.5" after the locale, so this runs under both kinds.
    void runsWithSettings() {
        Session session(prefix());
        QVERIFY2(session.start(), qPrintable(session.error()));

        const QImage first = startRun(session, QStringLiteral("1-default"));
        QVERIFY2(!first.isNull(), qPrintable(session.error()));
        {
            Problems problems = checkRunEnd(first, 1);
            problems += checkCurve(first, 1, {Defaults, Green});
            problems +=
                checkVerticalLine(first, 1, 420, 190.5, 540.5, QStringLiteral("vertical axis"));
            problems +=
                checkVerticalLine(first, 1, 620, 190.5, 540.5, QStringLiteral("maximum line"));
            problems +=
                checkVerticalLine(first, 1, 520, 190.5, 540.5, QStringLiteral("half-maximum line"));
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
            problems +=
                checkVerticalLine(second, 1, 620, 190.5, 540.5, QStringLiteral("maximum line"));
            problems += checkVerticalLine(second, 1, 520, 190.5, 540.5,
                                          QStringLiteral("half-maximum line"));
            problems += checkErasing(second, 1, red.settings);
            QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        }

        // "1,5 blue", answered Yes with the keyboard: only the blue curve is left.
        session.click(clickPoint(Freq15));
        QVERIFY(!session
                     .waitFor([](const QImage &image) { return isChosen(image, 1, BlueColour); },
                              QStringLiteral("op15"))
                     .isNull());
        session.click(StartRect.center());
        const auto box3 = session.waitForQuestion();
        QVERIFY2(box3, qPrintable(session.error()));
        QVERIFY(answer(session, *box3, Answer::Yes, false));
        const QImage third = session.waitForRunEnd(QStringLiteral("3-yes-blue"));
        QVERIFY2(!third.isNull(), qPrintable(session.error()));
        {
            Problems problems = checkRunEnd(third, 1);
            problems += checkCurve(third, 1, {{1.5, 1}, Blue});
            problems += checkNoCurve(third, 1, Green);
            problems += checkNoCurve(third, 1, Red);
            problems +=
                checkVerticalLine(third, 1, 620, 190.5, 540.5, QStringLiteral("maximum line"));
            QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        }

        // Relative length "1,5", answered Yes with the mouse: the reference lines move.
        session.click(clickPoint(Len15));
        QVERIFY(!session
                     .waitFor([](const QImage &image) { return isChosen(image, 1, Len15); },
                              QStringLiteral("op15D"))
                     .isNull());
        session.click(StartRect.center());
        const auto box4 = session.waitForQuestion();
        QVERIFY2(box4, qPrintable(session.error()));
        QVERIFY(answer(session, *box4, Answer::Yes, true));
        const QImage fourth = session.waitForRunEnd(QStringLiteral("4-yes-length-1_5"));
        QVERIFY2(!fourth.isNull(), qPrintable(session.error()));
        {
            const RunSettings settings{1.5, 1.5};
            Problems problems = checkRunEnd(fourth, 1);
            problems += checkCurve(fourth, 1, {settings, Blue});
            problems +=
                checkVerticalLine(fourth, 1, 732.5, 190.5, 540.5, QStringLiteral("maximum line"));
            problems += checkVerticalLine(fourth, 1, 576.25, 190.5, 540.5,
                                          QStringLiteral("half-maximum line"));
            problems += checkNoVerticalLine(fourth, 1, 620, 190.5, 540.5,
                                            QStringLiteral("old maximum line"));
            problems += checkNoVerticalLine(fourth, 1, 520, 190.5, 540.5,
                                            QStringLiteral("old half-maximum line"));
            problems += checkErasing(fourth, 1, settings);
            QVERIFY2(problems.isEmpty(), qPrintable(report(problems)));
        }
    }
};

QTEST_GUILESS_MAIN(EndToEnd)
#include "tst_e2e.moc"
