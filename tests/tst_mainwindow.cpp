// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recordingcanvas.h"

#include "about.h"
#include "access/accessiblecontrols.h"
#include "app/classicstyle.h"
#include "app/deletequestion.h"
#include "app/fonts.h"
#include "app/mainwindow.h"
#include "app/screenzoom.h"
#include "app/thicknesspicture.h"
#include "export/pictureexport.h"
#include "input/inputjournal.h"
#include "run/reflectionrun.h"
#include "screen/canvasitem.h"
#include "screen/canvaswidget.h"
#include "screen/curveexplorer.h"

#include <QAccessible>
#include <QApplication>
#include <QBitmap>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QRgb Grey = qRgb(192, 192, 192);

QString fieldText(const MainWindow &window, const char *name)
{
    return window.findChild<QLineEdit *>(QString::fromUtf8(name))->text();
}

template <typename T = QWidget> T *control(const MainWindow &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromUtf8(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

CanvasItem *item(const MainWindow &window, const char *name)
{
    return window.findChild<CanvasItem *>(QString::fromUtf8(name));
}

bool regionIsOnly(const QImage &image, const QRect &rect, QRgb colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixel(x, y) != colour)
                return false;
    return true;
}

// Answers every "Delete probability" box that comes while it lives, Escape and a close
// request first, which the box must ignore; closes any other message box and any menu,
// keeping what they said. It looks often, so no box is left open and no test waits
// forever for an answer.
class QuestionAnswerer : public QObject
{
public:
    explicit QuestionAnswerer(QMessageBox::StandardButton answer,
                              std::function<void()> whileOpen = {})
        : m_answer(answer)
        , m_whileOpen(std::move(whileOpen))
    {
        connect(&m_timer, &QTimer::timeout, this, &QuestionAnswerer::answer);
        m_timer.start(20);
    }

    int questions() const { return m_questions; }
    bool allLookedRight() const { return m_allLookedRight; }
    // The texts of the other boxes, and each menu's items with their shortcuts as shown.
    const QStringList &notes() const { return m_notes; }
    const QList<QStringList> &menus() const { return m_menus; }

private:
    void answer()
    {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            QStringList items;
            for (QAction *action : menu->actions())
                items << action->text() + u'\t' +
                             (action->isShortcutVisibleInContextMenu()
                                  ? action->shortcut().toString()
                                  : QString());
            m_menus << items;
            menu->close();
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        if (box->objectName() != QStringLiteral("deleteQuestion")) {
            m_notes << box->text();
            box->done(QMessageBox::Ok);
            return;
        }
        ++m_questions;
        m_allLookedRight =
            m_allLookedRight && box->text() == QStringLiteral("Delete probability") &&
            box->windowTitle() == QString::fromUtf8(About::Name) &&
            box->defaultButton() == box->button(QMessageBox::Yes) &&
            box->icon() == QMessageBox::NoIcon && box->button(QMessageBox::Yes)->icon().isNull() &&
            box->button(QMessageBox::No)->icon().isNull() &&
            !(box->windowFlags() & Qt::WindowMaximizeButtonHint) &&
            qobject_cast<MainWindow *>(box->parentWidget()) &&
            box->windowHandle()->transientParent() == box->parentWidget()->windowHandle();
        if (m_whileOpen)
            m_whileOpen();
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        if (box->isVisible())
            box->button(m_answer)->click();
    }

    QMessageBox::StandardButton m_answer;
    std::function<void()> m_whileOpen;
    QTimer m_timer;
    int m_questions = 0;
    bool m_allLookedRight = true;
    QStringList m_notes;
    QList<QStringList> m_menus;
};

void accessibleAction(QWidget *widget, const QString &action)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface && iface->actionInterface());
    QVERIFY(iface->actionInterface()->actionNames().contains(action));
    iface->actionInterface()->doAction(action);
}

// Puts each step on the screen as the window does, then compares what the screen shows
// with the canvas image and keeps the first difference.
class ScreenCheck : public StepPacer
{
public:
    explicit ScreenCheck(CanvasWidget &canvas)
        : m_canvas(canvas)
    {}

    void stepDone(double) override
    {
        m_canvas.flush();
        ++steps;
        if (!difference.isEmpty())
            return;
        const QImage screen = m_canvas.screen()
                                  ->grabWindow(m_canvas.winId())
                                  .toImage()
                                  .convertToFormat(QImage::Format_RGB32);
        const QImage &image = m_canvas.image();
        if (screen.size() != image.size()) {
            difference = QStringLiteral("the screen is %1x%2 device pixels")
                             .arg(screen.width())
                             .arg(screen.height());
            return;
        }
        for (int y = 0; y < image.height(); ++y) {
            const auto *shown = reinterpret_cast<const QRgb *>(screen.constScanLine(y));
            const auto *drawn = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (shown[x] != drawn[x]) {
                    difference = QStringLiteral("step %1, device pixel (%2, %3): %4 instead of %5")
                                     .arg(steps)
                                     .arg(x)
                                     .arg(y)
                                     .arg(QColor(shown[x]).name(), QColor(drawn[x]).name());
                    return;
                }
        }
    }

    int steps = 0;
    QString difference;

private:
    CanvasWidget &m_canvas;
};

class NoWait : public StepPacer
{
public:
    void stepDone(double) override {}
};

// Shows the window on the screen given (of tests/screens.json), at that screen's ratio.
bool showOnScreen(MainWindow &window, int screen)
{
    const QScreen *target = QGuiApplication::screens().value(screen);
    if (!target)
        return false;
    window.setGeometry(
        QRect(target->geometry().topLeft() + QPoint(40, 30), MainWindow::ClientSize));
    window.show();
    return QTest::qWaitForWindowExposed(&window) &&
           QTest::qWaitFor([&] { return window.screen() == target; }, 20000);
}

// Two runs without waits: the first at the start-up settings, the second at 0,5 in red kept
// with No, as a lesson's comparison of two curves goes.
void twoRunsKeptWithNo(MainWindow &window)
{
    window.setPacer(std::make_unique<NoWait>());
    const QuestionAnswerer answerer(QMessageBox::No);
    window.pressStart();
    window.clickOption(Option::op05);
    window.clickOption(Option::opCervena);
    window.pressStart();
}

// Saving the curves answers the file dialog with the path given.
void answerSaveDialogs(const MainWindow &window, const QString &path)
{
    window.findChild<PictureExport *>()->setFileChooser(
        [path](const QString &, const QString &, const QString &) { return path; });
}

// Rows per run in a CSV the window wrote: {301, 301} for two whole runs.
QList<int> rowsPerRun(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<int> counts;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const int run = lines.at(i).split(',').front().toInt();
        if (run > 0) {
            counts.resize(std::max(counts.size(), qsizetype(run)));
            ++counts[run - 1];
        }
    }
    return counts;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowRightAfterStart();
    void optionClicks_data();
    void optionClicks();
    void scrollBarTakesTheValueWhenADragEnds();
    void strokesAndCanvasLabelsShareALayer();
    void spacePressesStartAndARunFinishes();
    void secondRunAsksAndNoKeepsTheCurve();
    void inputDuringARunWaitsForItsEnd();
    void accessibleInputWaitsForItsTurn();
    void questionInsideTheWindow_data();
    void questionInsideTheWindow();
    void exitEndsTheProgram();
    void screenShowsTheImageAfterEveryStep_data();
    void screenShowsTheImageAfterEveryStep();
    void contextMenuOnTheCanvasOnly_data();
    void contextMenuOnTheCanvasOnly();
    void buttonsHaveARaisedEdge_data();
    void buttonsHaveARaisedEdge();
    void copyKeyWhereverTheFocusIs_data();
    void copyKeyWhereverTheFocusIs();
    void thicknessPictureAtEveryZoom_data();
    void thicknessPictureAtEveryZoom();
    void f11TogglesFullScreenKeepingThePicture_data();
    void f11TogglesFullScreenKeepingThePicture();
    void saveNeverHangsOnAFifo_data();
    void saveNeverHangsOnAFifo();
    void pictureDrawnAgainAtAnotherRatio_data();
    void pictureDrawnAgainAtAnotherRatio();
    void readoutAndCursorShowTheCurvesNumbers_data();
    void readoutAndCursorShowTheCurvesNumbers();
};

void TestMainWindow::initTestCase()
{
    QApplication::setApplicationName(QString::fromUtf8(About::Name));
    Fonts::installSubstitutions();
    // As the program shows the window: what takes a click is the style's to say.
    QApplication::setStyle(new ClassicStyle);
}

void TestMainWindow::windowRightAfterStart()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QVERIFY(window.windowTitle().startsWith(QStringLiteral("Quorvane - https://")));
    QCOMPARE(window.size(), MainWindow::ClientSize);
    for (const char *name :
         {"nRelativeRngth", "HScroll1", "nZrcadleniDvouRozhrani", "frmRelDelka", "op15D", "op1D",
          "op05D", "cmdKonec", "frmFrekvence", "op15", "op1", "op05", "frmBarva1", "opModra",
          "opzelená", "opCervena", "opCerna", "cmdStart"})
        QVERIFY2(control(window, name)->isVisible(), name);
    for (const char *name :
         {"frmAnimace", "nPomalá", "opPomalší", "opRychlá", "nSpomaleni", "frmPosunZdroje", "op50",
          "op0", "nPosunZdroje", "nBarva", "nStartuje", "nFrekvence", "nNasob"})
        QVERIFY2(!control(window, name)->isVisible(), name);
    QVERIFY(item(window, "labKlepnuti")->isVisible());
    for (const char *name : {"imThickness", "labDetektor", "labZdroj", "labOdrazovost"})
        QVERIFY2(!item(window, name)->isVisible(), name);

    for (const char *name : {"op1", "op1D", "opzelená", "op0", "opRychlá"})
        QVERIFY2(control<QRadioButton>(window, name)->isChecked(), name);
    for (const char *name : {"op05", "op15", "op05D", "op15D", "opModra", "opCervena", "opCerna",
                             "op50", "nPomalá", "opPomalší"})
        QVERIFY2(!control<QRadioButton>(window, name)->isChecked(), name);
    QCOMPARE(fieldText(window, "nStartuje"), QStringLiteral("Ano"));
    QCOMPARE(fieldText(window, "nFrekvence"), QStringLiteral("1"));
    QCOMPARE(fieldText(window, "nNasob"), QStringLiteral("1"));
    QCOMPARE(fieldText(window, "nPosunZdroje"), QStringLiteral("0"));
    QCOMPARE(fieldText(window, "nBarva"), QStringLiteral("zelená"));
    QCOMPARE(fieldText(window, "nSpomaleni"), QStringLiteral("1"));
    QCOMPARE(control<QScrollBar>(window, "HScroll1")->value(), 1);
    QCOMPARE(QApplication::focusWidget(), control(window, "cmdStart"));

    // Nothing is drawn before the first run: the canvas holds background and the prompt.
    const QImage &image = window.canvas()->image();
    const QRect prompt = item(window, "labKlepnuti")->geometry();
    QVERIFY(regionIsOnly(image, QRect(0, 0, 800, prompt.top()), Grey));
    QVERIFY(
        regionIsOnly(image, QRect(0, prompt.bottom() + 1, 800, 581 - prompt.bottom() - 1), Grey));
    QVERIFY(!regionIsOnly(image, prompt, Grey));
}

void TestMainWindow::optionClicks_data()
{
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("colourOption");

    QTest::newRow("0,5 red") << QByteArray("op05") << QByteArray("nFrekvence") << "0.5"
                             << QByteArray("opCervena");
    QTest::newRow("1,5 blue") << QByteArray("op15") << QByteArray("nFrekvence") << "1.5"
                              << QByteArray("opModra");
    QTest::newRow("1 green") << QByteArray("op1") << QByteArray("nFrekvence") << "1"
                             << QByteArray("opzelená");
    QTest::newRow("length 0,5") << QByteArray("op05D") << QByteArray("nNasob") << "0.5"
                                << QByteArray("opzelená");
    QTest::newRow("length 1,5") << QByteArray("op15D") << QByteArray("nNasob") << "1.5"
                                << QByteArray("opzelená");
    QTest::newRow("black") << QByteArray("opCerna") << QByteArray("nBarva") << "černá"
                           << QByteArray("opCerna");
    QTest::newRow("modrá") << QByteArray("opModra") << QByteArray("nBarva") << "modrá"
                           << QByteArray("opModra");
}

// A click anywhere on an option runs its handler: the field is written, the colour option
// follows a frequency, and the picture of the last run goes.
void TestMainWindow::optionClicks()
{
    QFETCH(QByteArray, option);
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(QByteArray, colourOption);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    item(window, "imThickness")->show();

    auto *button = control<QRadioButton>(window, option.constData());
    // At the right edge of the coloured box, well right of the caption.
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(button->width() - 2, button->height() / 2));
    QVERIFY(button->isChecked());
    QCOMPARE(fieldText(window, field.constData()), text);
    QVERIFY(control<QRadioButton>(window, colourOption.constData())->isChecked());
    QVERIFY(!item(window, "imThickness")->isVisible());
    // The picture leaves plain background where it stood.
    QVERIFY(regionIsOnly(window.canvas()->image(), QRect(400, 296, 16, 143), Grey));
}

void TestMainWindow::scrollBarTakesTheValueWhenADragEnds()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    item(window, "imThickness")->show();
    auto *scrollBar = control<QScrollBar>(window, "HScroll1");

    scrollBar->setSliderDown(true);
    scrollBar->setSliderPosition(20);
    QCOMPARE(fieldText(window, "nSpomaleni"), QStringLiteral("1"));
    scrollBar->setSliderDown(false);
    QCOMPARE(fieldText(window, "nSpomaleni"), QStringLiteral("20"));

    scrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(fieldText(window, "nSpomaleni"), QStringLiteral("21"));
    scrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(fieldText(window, "nSpomaleni"), QStringLiteral("22"));
    scrollBar->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(fieldText(window, "nSpomaleni"), QStringLiteral("30"));
    scrollBar->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(fieldText(window, "nSpomaleni"), QStringLiteral("1"));
    QVERIFY(item(window, "imThickness")->isVisible());

    // A click on the track far right of the thumb steps once, with either button.
    const QPoint track(scrollBar->width() - 24, scrollBar->height() / 2);
    QTest::mouseClick(scrollBar, Qt::MiddleButton, {}, track);
    QCOMPARE(fieldText(window, "nSpomaleni"), QStringLiteral("2"));
    QTest::mouseClick(scrollBar, Qt::LeftButton, {}, track);
    QCOMPARE(fieldText(window, "nSpomaleni"), QStringLiteral("3"));
}

void TestMainWindow::strokesAndCanvasLabelsShareALayer()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CanvasWidget *canvas = window.canvas();
    const QRect prompt = item(window, "labKlepnuti")->geometry();

    // A stroke across the prompt paints over it.
    canvas->setPenWidth(3);
    canvas->line(100, prompt.center().y(), 500, prompt.center().y(), StrokeColour::rgb(255, 0, 0));
    QCOMPARE(canvas->image().pixel(prompt.center()), qRgb(255, 0, 0));

    // A label shown after strokes covers them with its opaque rectangle...
    CanvasItem *label = item(window, "labZdroj");
    canvas->line(20, 60, 120, 80, StrokeColour::rgb(0, 0, 255));
    label->showAt(QPoint(25, 61));
    const QRect rect = label->geometry();
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            QVERIFY(canvas->image().pixel(x, y) != qRgb(0, 0, 255));
    // ...and what lies outside it stays.
    QCOMPARE(canvas->image().pixel(21, 60), qRgb(0, 0, 255));

    // The canvas lies under every control.
    QCOMPARE(window.childAt(660, 25), control(window, "cmdStart"));
    QCOMPARE(window.childAt(300, 400), canvas);
}

void TestMainWindow::spacePressesStartAndARunFinishes()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QuestionAnswerer answerer(QMessageBox::Yes);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);

    QCOMPARE(answerer.questions(), 0);
    QCOMPARE(fieldText(window, "nStartuje"), QStringLiteral("Ne"));
    QVERIFY(!window.isRunning());
    QVERIFY(item(window, "imThickness")->isVisible());
    QCOMPARE(item(window, "labOdrazovost")->geometry().topLeft(), QPoint(470, 171));
    QCOMPARE(item(window, "labZdroj")->geometry().topLeft(), QPoint(25, 61));
    QCOMPARE(item(window, "labDetektor")->geometry().topLeft(), QPoint(360, 61));
    const QImage &image = window.canvas()->image();
    QCOMPARE(image.pixel(100, 300), qRgb(192, 255, 255));
    // The sheet band and the sheet wiped the prompt where they ran.
    const QRect prompt = item(window, "labKlepnuti")->geometry();
    QVERIFY(regionIsOnly(image, QRect(prompt.left(), prompt.top(), 140, prompt.height()),
                         qRgb(192, 255, 255)));
}

void TestMainWindow::secondRunAsksAndNoKeepsTheCurve()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("curves.csv"));
    answerSaveDialogs(window, csv);
    auto *start = control<QPushButton>(window, "cmdStart");
    {
        // No curve yet: the window says so and writes nothing.
        const QuestionAnswerer answerer(QMessageBox::No);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(answerer.notes(),
                 QStringList{"There are no curves to save yet: press Start first."});
        QVERIFY(!QFile::exists(csv));

        start->click();
        QCOMPARE(answerer.questions(), 0);
    }
    const QImage first = window.canvas()->image();

    {
        const QuestionAnswerer answerer(QMessageBox::No);
        start->click();
        QCOMPARE(answerer.questions(), 1);
        QVERIFY(answerer.allLookedRight());
    }
    // The curves' numbers follow the picture: both runs after No, the last one after Yes.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(rowsPerRun(csv), QList<int>({301, 301}));
    // Answered No: the first curve's points are still where they were.
    const QImage &second = window.canvas()->image();
    int kept = 0;
    for (int y = 200; y < 480; ++y)
        for (int x = 421; x < 700; ++x)
            kept += first.pixel(x, y) == qRgb(0, 255, 0) && second.pixel(x, y) == qRgb(0, 255, 0);
    QVERIFY(kept > 300);

    const QuestionAnswerer answerer(QMessageBox::Yes);
    control<QRadioButton>(window, "opCervena")->click();
    start->click();
    QCOMPARE(answerer.questions(), 1);
    int green = 0;
    for (int y = 200; y < 480; ++y)
        for (int x = 421; x < 700; ++x)
            green += window.canvas()->image().pixel(x, y) == qRgb(0, 255, 0);
    QCOMPARE(green, 0);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(rowsPerRun(csv), QList<int>({301}));
}

// A screen reader's choices act as clicks: at rest at once; during a run after its end, in
// the order given; and not at all while the question is open. A Start replayed from the
// journal runs to its end before what came after it.
void TestMainWindow::accessibleInputWaitsForItsTurn()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *start = control<QPushButton>(window, "cmdStart");
    accessibleAction(control(window, "op05D"), QAccessibleActionInterface::toggleAction());
    QCOMPARE(fieldText(window, "nNasob"), QStringLiteral("0.5"));

    QString frequencyAtQuestion;
    const QuestionAnswerer answerer(QMessageBox::No, [&] {
        frequencyAtQuestion = fieldText(window, "nFrekvence");
        accessibleAction(start, QAccessibleActionInterface::pressAction());
    });
    QTimer::singleShot(300, &window, [&] {
        accessibleAction(start, QAccessibleActionInterface::pressAction());
        accessibleAction(control(window, "op05"), QAccessibleActionInterface::toggleAction());
        QVERIFY(!control<QRadioButton>(window, "op05")->isChecked());
    });
    start->click();
    QTRY_VERIFY_WITH_TIMEOUT(control<QRadioButton>(window, "op05")->isChecked(), 30000);
    QCOMPARE(fieldText(window, "nFrekvence"), QStringLiteral("0.5"));
    QCOMPARE(frequencyAtQuestion, QStringLiteral("1"));
    QTest::qWait(200);
    QVERIFY(!window.isRunning());
    QCOMPARE(answerer.questions(), 1);
}

// Where the window system places dialogs itself, the question is drawn in the middle of the
// window, under its own uncut title. It answers the mouse, the keys and a screen reader as
// a box of its own does; the rest of the window takes nothing meanwhile, nor afterwards.
void TestMainWindow::questionInsideTheWindow_data()
{
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<bool>("no");
    QTest::newRow("a click on No") << QStringList{"click No"} << true;
    QTest::newRow("N") << QStringList{"key N"} << true;
    QTest::newRow("Enter, the default") << QStringList{"key Enter"} << false;
    QTest::newRow("Tab goes round the box")
        << QStringList{"key Tab", "key Tab", "key Tab", "key Enter"} << true;
    QTest::newRow("a screen reader's No") << QStringList{"reader No"} << true;
    QTest::newRow("nothing outside acts")
        << QStringList{"key Escape", "click outside", "reader outside", "key Enter"} << false;
}

void TestMainWindow::questionInsideTheWindow()
{
    QFETCH(QStringList, input);
    QFETCH(bool, no);
    QWidget window;
    window.setFixedSize(400, 300);
    auto *outside = new QPushButton(QStringLiteral("Outside"), &window);
    outside->move(10, 10);
    int outsideClicks = 0;
    connect(outside, &QPushButton::clicked, &window, [&] { ++outsideClicks; });
    InputJournal journal(&window);
    installAccessibleControls(window, journal);
    window.show();
    outside->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    journal.startRecording();

    QString placement;
    bool leftOpen = false;
    QTimer inputs;
    connect(&inputs, &QTimer::timeout, &window, [&] {
        auto *box = window.findChild<QMessageBox *>(QStringLiteral("deleteQuestion"));
        auto *title = window.findChild<QLabel *>(QStringLiteral("questionTitle"));
        if (!box || !box->isVisible())
            return;
        inputs.stop();
        if (!title || box->window() != &window) {
            placement = QStringLiteral("not a part of the window");
            box->done(QMessageBox::Yes);
            return;
        }
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top != &window && top->isVisible())
                placement += QStringLiteral("another window; ");
        const QRect frame = box->parentWidget()->geometry();
        if ((frame.topLeft() + frame.bottomRight() - QPoint(399, 299)).manhattanLength() > 2)
            placement += QStringLiteral("off centre; ");
        if (title->text() != QCoreApplication::applicationName() ||
            title->width() < title->sizeHint().width())
            placement += QStringLiteral("title wrong or cut; ");
        for (const QString &step : input) {
            const QString what = step.section(u' ', 1);
            QWidget *target = what == QLatin1String("outside") ? static_cast<QWidget *>(outside)
                                                               : box->button(QMessageBox::No);
            if (step.startsWith(u"click"))
                QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                                  target->mapTo(&window, target->rect().center()));
            else if (step.startsWith(u"reader"))
                accessibleAction(target, QAccessibleActionInterface::pressAction());
            else
                QTest::keyClick(window.windowHandle(), QKeySequence(what)[0].key());
        }
        QTimer::singleShot(1000, box, [&leftOpen, box] {
            leftOpen = true;
            box->done(QMessageBox::Yes);
        });
    });
    inputs.start(10);
    DeleteQuestion question(&window, &journal, DeleteQuestion::Placement::InsideWindow);
    const bool answeredNo =
        question.ask(QStringLiteral("Delete probability")) == YesNoQuestion::Answer::No;
    journal.stopRecording();
    QTest::qWait(50);
    QCOMPARE(placement, QString());
    QVERIFY(!leftOpen);
    QCOMPARE(answeredNo, no);
    QCOMPARE(outsideClicks, 0);
    QCOMPARE(QApplication::focusWidget(), outside);
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("questionCover")));
}

// Whatever reaches the window while a run lasts, a click or a close request, is handled
// when the run has ended, in the order given.
void TestMainWindow::inputDuringARunWaitsForItsEnd()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("curves.csv"));
    answerSaveDialogs(window, csv);
    bool runningThen = false;
    QString frequencyThen;
    QWidget *focusThen = nullptr;
    bool visibleAfterCloseRequest = false;
    const QuestionAnswerer answerer(QMessageBox::Yes);
    auto *start = control<QPushButton>(window, "cmdStart");
    QTimer::singleShot(300, &window, [&] {
        runningThen = window.isRunning();
        QTest::mouseClick(control(window, "op05"), Qt::LeftButton);
        frequencyThen = fieldText(window, "nFrekvence");
        focusThen = QApplication::focusWidget();
        QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);
        window.close();
        visibleAfterCloseRequest = window.isVisible();
    });
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(start, Qt::Key_Space);
    QVERIFY(runningThen);
    QCOMPARE(frequencyThen, QStringLiteral("1"));
    // The click moved no focus while the run lasted.
    QCOMPARE(focusThen, start);
    QVERIFY(visibleAfterCloseRequest);
    QCOMPARE(answerer.questions(), 0);
    QCOMPARE(window.canvas()->image().pixel(100, 300), qRgb(192, 255, 255));

    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(fieldText(window, "nFrekvence"), QStringLiteral("0.5"));
    // Its turn gave the clicked option the focus, as the click itself would have.
    QCOMPARE(window.focusWidget(), control(window, "op05"));
    // The curves were saved after the run, whole.
    QCOMPARE(rowsPerRun(csv), QList<int>({301}));
    QCOMPARE(fieldText(window, "nBarva"), QStringLiteral("červená"));
}

void TestMainWindow::exitEndsTheProgram()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(control(window, "cmdKonec"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMainWindow::screenShowsTheImageAfterEveryStep_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("shift");
    QTest::newRow("start-up settings") << "1"
                                       << "1"
                                       << "0";
    QTest::newRow("other geometry") << "1.5"
                                    << "0.5"
                                    << "50";
}

// Each step puts on the screen only what changed; the screen must still show exactly the
// image, at whatever scale the screen has (the test runs again at twice the scale).
void TestMainWindow::screenShowsTheImageAfterEveryStep()
{
    QFETCH(QString, frequency);
    QFETCH(QString, length);
    QFETCH(QString, shift);

    CanvasWidget canvas(MainWindow::ClientSize);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    MemorySettingsStore store;
    store.setText(StateField::nFrekvence, frequency);
    store.setText(StateField::nNasob, length);
    store.setText(StateField::nPosunZdroje, shift);
    store.setText(StateField::nSpomaleni, QStringLiteral("0"));
    RecordingCanvas host;
    ScreenCheck check(canvas);
    ReflectionRun(store, canvas, host, check, host, host).run();
    QCOMPARE(check.steps, 301);
    // The end too: its fill goes in bands, and what they hold back comes after them.
    check.stepDone(0);
    QVERIFY2(check.difference.isEmpty(), qPrintable(check.difference));
}

void TestMainWindow::contextMenuOnTheCanvasOnly_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<QStringList>("items");

    const QStringList ours{"Save picture…\tCtrl+S",
                           "Copy picture\tCtrl+C",
                           "Save curves as CSV…\tCtrl+E",
                           "\t",
                           "Explore the curves\tE",
                           "Sound of the curve\t",
                           "Zoom in\tCtrl++",
                           "Zoom out\tCtrl+-",
                           "Actual size\tCtrl+0",
                           "About Quorvane\t"};
    const QKeyCombination mouse;
    QTest::newRow("canvas") << QByteArray("canvas") << mouse << ours;
    QTest::newRow("an option") << QByteArray("op05") << mouse << QStringList{};
    QTest::newRow("Start") << QByteArray("cmdStart") << mouse << QStringList{};
    QTest::newRow("a frame") << QByteArray("frmFrekvence") << mouse << QStringList{};
    // The keyboard's way, from whichever control has the focus.
    QTest::newRow("Menu key") << QByteArray("cmdStart") << QKeyCombination(Qt::Key_Menu) << ours;
    QTest::newRow("Shift+F10") << QByteArray("op1") << (Qt::SHIFT | Qt::Key_F10) << ours;
}

// A right click on the canvas offers the three ways out, with their keys; on a control it
// offers nothing.
void TestMainWindow::contextMenuOnTheCanvasOnly()
{
    QFETCH(QByteArray, target);
    QFETCH(QKeyCombination, key);
    QFETCH(QStringList, items);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *widget = control(window, target.constData());
    const QuestionAnswerer closer(QMessageBox::Yes);
    if (key.key() != Qt::Key_unknown) {
        widget->setFocus();
        QTest::keyClick(widget, key.key(), key.keyboardModifiers());
    } else {
        const QPoint at(5, 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
    }
    QTRY_COMPARE_WITH_TIMEOUT(closer.menus().value(0), items, 5000);
}

void TestMainWindow::buttonsHaveARaisedEdge_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::newRow("Start, with the focus") << QByteArray("cmdStart");
    QTest::newRow("Exit") << QByteArray("cmdKonec");
}

// A flat grey face inside an edge two pixels wide, light above and left, dark below and right.
void TestMainWindow::buttonsHaveARaisedEdge()
{
    QFETCH(QByteArray, button);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage face = control(window, button.constData())->grab().toImage();
    const int middle = face.height() / 2;
    const QList<QRgb> across{face.pixel(0, middle), face.pixel(1, middle), face.pixel(2, middle),
                             face.pixel(face.width() - 2, middle),
                             face.pixel(face.width() - 1, middle)};
    QCOMPARE(across, (QList<QRgb>{qRgb(255, 255, 255), qRgb(223, 223, 223), Grey,
                                  qRgb(128, 128, 128), qRgb(0, 0, 0)}));
    QCOMPARE(face.pixel(face.width() / 2, 0), qRgb(255, 255, 255));
    QCOMPARE(face.pixel(face.width() / 2, face.height() - 1), qRgb(0, 0, 0));
}

void TestMainWindow::copyKeyWhereverTheFocusIs_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::newRow("Start") << QByteArray("cmdStart");
    QTest::newRow("a heading") << QByteArray("nZrcadleniDvouRozhrani");
}

void TestMainWindow::copyKeyWhereverTheFocusIs()
{
    QFETCH(QByteArray, target);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QApplication::clipboard()->clear();
    QWidget *widget = control(window, target.constData());
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
    QTRY_COMPARE(QApplication::clipboard()->image().size(), MainWindow::ClientSize);
}

void TestMainWindow::thicknessPictureAtEveryZoom_data()
{
    QTest::addColumn<qreal>("ratio");
    for (qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.25, 3.0, 3.5, 4.0})
        QTest::newRow(QByteArray::number(ratio) + 'x') << ratio;
}

// At every zoom the picture has its two colours only, lettering of the same share and place
// as the bitmap's, and covers exactly the device pixels that hiding it fills with grey.
void TestMainWindow::thicknessPictureAtEveryZoom()
{
    QFETCH(qreal, ratio);
    const QRect place(400, 296, 16, 143);
    const QImage picture = thicknessPicture(place, ratio);
    const QSize canvasSize = MainWindow::ClientSize * ratio;

    QImage filled(canvasSize, QImage::Format_RGB32);
    filled.setDevicePixelRatio(ratio);
    filled.fill(Grey);
    QImage shown = filled;
    {
        QPainter painter(&filled);
        painter.fillRect(place, Qt::black);
    }
    {
        QPainter painter(&shown);
        painter.drawImage(QPointF(place.topLeft()), picture);
    }
    const QRect covered =
        QRegion(QBitmap::fromImage(filled.createMaskFromColor(Grey))).boundingRect();
    const QRect drawn = QRegion(QBitmap::fromImage(shown.createMaskFromColor(Grey))).boundingRect();
    QCOMPARE(drawn, covered);

    const QRgb ink = qRgb(31, 26, 23), paper = qRgb(194, 194, 193);
    int inked = 0;
    QRect lettering;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y) | 0xff000000u;
            QVERIFY2(pixel == ink || pixel == paper, qPrintable(QString::number(pixel, 16)));
            if (pixel == ink) {
                ++inked;
                lettering |= QRect(x, y, 1, 1);
            }
        }
    if (ratio == 1.0)
        QCOMPARE(picture.size(), place.size());
    // The bitmap: a quarter of it inked, the words from row 5 to 139 and columns 3 to 15.
    const double share = double(inked) / (picture.width() * picture.height());
    QVERIFY2(share > 0.17 && share < 0.33, qPrintable(QString::number(share)));
    const QRectF logical(lettering.x() / ratio, lettering.y() / ratio, lettering.width() / ratio,
                         lettering.height() / ratio);
    QVERIFY2(logical.top() > 2 && logical.top() < 10 && logical.bottom() > 135 &&
                 logical.bottom() <= 143 && logical.left() > 1.5 && logical.left() < 5 &&
                 logical.right() > 13 && logical.right() <= 16,
             qPrintable(QStringLiteral("lettering at %1, %2 to %3, %4")
                            .arg(logical.left())
                            .arg(logical.top())
                            .arg(logical.right())
                            .arg(logical.bottom())));
}

void TestMainWindow::f11TogglesFullScreenKeepingThePicture_data()
{
    // The screens are those of tests/screens.json: the first at the origin, the second beside
    // it at twice the pixel ratio.
    QTest::addColumn<int>("screen");
    QTest::addColumn<qreal>("fullScreenRatio");
    QTest::newRow("first screen") << 0 << 1.0;
    // 1280 x 1024 at a ratio of 2 holds the picture three times.
    QTest::newRow("second screen") << 1 << 3.0;
}

// F11 puts the window in full screen on the screen that holds it, at the largest zoom that
// fits, and back at its own zoom: the picture stays, in full screen it stands centred on the
// window's grey, on a grid the zoom maps to whole pixels, and back from it the window is
// where it was.
void TestMainWindow::f11TogglesFullScreenKeepingThePicture()
{
    QFETCH(int, screen);
    QFETCH(qreal, fullScreenRatio);
    if (QGuiApplication::screens().size() <= screen)
        QSKIP("the platform has no second screen (tests/screens.json)");
    const QRect onScreen = QGuiApplication::screens().at(screen)->geometry();
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QRect normal(onScreen.topLeft() + QPoint(40, 30), MainWindow::ClientSize);
    window.setGeometry(normal);
    QTRY_COMPARE_WITH_TIMEOUT(window.screen()->geometry(), onScreen, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(window.geometry(), normal, 20000);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(item(window, "imThickness")->isVisible());
    const QImage picture = window.canvas()->image();

    const qreal ratio = window.devicePixelRatioF();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
    QTRY_VERIFY2_WITH_TIMEOUT(window.isFullScreen() &&
                                  window.screen() == QGuiApplication::screens().at(screen) &&
                                  window.geometry() == window.screen()->geometry(),
                              "F11 did not make the window cover its screen", 20000);
    QCOMPARE(window.devicePixelRatioF(), fullScreenRatio);
    QTRY_COMPARE_WITH_TIMEOUT(window.canvas()->image().devicePixelRatio(), fullScreenRatio, 20000);
    const QPoint offset = window.canvas()->pos();
    const QSize spare = window.size() - MainWindow::ClientSize;
    QVERIFY2(offset.x() % 4 == 0 && offset.y() % 4 == 0 &&
                 std::abs(2 * offset.x() - spare.width()) <= 8 &&
                 std::abs(2 * offset.y() - spare.height()) <= 8,
             qPrintable(QStringLiteral("canvas at %1, %2").arg(offset.x()).arg(offset.y())));
    QCOMPARE(control(window, "cmdStart")->pos(), offset + QPoint(624, 8));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);

    QTRY_VERIFY2_WITH_TIMEOUT(!window.isFullScreen() && window.geometry() == normal,
                              "F11 did not bring the window back where it was", 20000);
    QCOMPARE(window.devicePixelRatioF(), ratio);
    QTRY_COMPARE_WITH_TIMEOUT(window.canvas()->image().devicePixelRatio(), ratio, 20000);
    QCOMPARE(window.canvas()->pos(), QPoint(0, 0));
    QCOMPARE(control(window, "cmdStart")->pos(), QPoint(624, 8));
    QCOMPARE(window.canvas()->image(), picture);
}

void TestMainWindow::saveNeverHangsOnAFifo_data()
{
    QTest::addColumn<bool>("readerStalls");
    QTest::addColumn<QString>("reason");
    QTest::newRow("nobody reads") << false << "No such device or address";
    QTest::newRow("the reader takes nothing") << true << "nothing was read from it for 5 seconds";
}

// The window does not hang on a FIFO: one nobody reads is refused at once, a reader that
// takes nothing is given up after a few seconds, each with the reason, and the FIFO stays.
void TestMainWindow::saveNeverHangsOnAFifo()
{
    QFETCH(bool, readerStalls);
    QFETCH(QString, reason);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("f"));
    const QByteArray name = QFile::encodeName(fifo);
    QVERIFY(::mkfifo(name.constData(), 0600) == 0);
    // The stalled reader holds the FIFO open and never reads; its pipe is as small as it can
    // be (one page), so that the picture cannot go into it whole.
    const int stalled = readerStalls ? ::open(name.constData(), O_RDONLY | O_NONBLOCK) : -1;
    QVERIFY(!readerStalls || (stalled >= 0 && ::fcntl(stalled, F_SETPIPE_SZ, 4096) >= 0));
    answerSaveDialogs(window, fifo);
    // Should the save wait after all, a reader comes late and takes it all: the test fails.
    QProcess lateReader;
    lateReader.start(QStringLiteral("/bin/sh"), {"-c", "sleep 20; exec cat \"$0\"", fifo});
    QString said;
    QTimer look;
    connect(&look, &QTimer::timeout, &window, [&said] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            said = box->text();
            box->close();
        }
    });
    look.start(20);
    window.findChild<PictureExport *>()->savePicture();
    lateReader.kill();
    lateReader.waitForFinished();
    if (stalled >= 0)
        ::close(stalled);
    QCOMPARE(said, "Cannot write " + fifo + ": " + reason + ".");
    struct stat status = {};
    QVERIFY(::stat(name.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
}

void TestMainWindow::pictureDrawnAgainAtAnotherRatio_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<QKeyCombination>>("keys");
    QTest::addColumn<qreal>("ratio");
    const QKeyCombination plus = Qt::CTRL | Qt::Key_Plus;
    QTest::newRow("ratio 2 to 1") << 1 << 0 << QList<QKeyCombination>{} << 1.0;
    QTest::newRow("ratio 1 to 2") << 0 << 1 << QList<QKeyCombination>{} << 2.0;
    QTest::newRow("Ctrl+Plus") << 1 << 1 << QList{plus} << 2.25;
    QTest::newRow("Ctrl+=") << 1 << 1 << QList{Qt::CTRL | Qt::Key_Equal} << 2.25;
    QTest::newRow("Ctrl+Minus") << 1 << 1 << QList{Qt::CTRL | Qt::Key_Minus} << 1.75;
    // Back to the screen's own scale.
    QTest::newRow("Ctrl+Plus twice, Ctrl+0")
        << 1 << 1 << QList{plus, plus, Qt::CTRL | Qt::Key_0} << 2.0;
    // 800 x 600 holds no more than zoom 1.
    QTest::newRow("Ctrl+Plus, too large") << 0 << 0 << QList{plus} << 1.0;
    // Zoom 2.5 on the second screen is 1.25 on the first, which does not fit there.
    QTest::newRow("Ctrl+Plus twice, to a smaller screen") << 1 << 0 << QList{plus, plus} << 1.0;
}

// A window moved to a screen of another pixel ratio, or zoomed by its keys, draws its picture
// again at that ratio: the very pixels of a window that was there at that zoom all along and
// made the same runs. The zoomed window keeps its top-left corner.
void TestMainWindow::pictureDrawnAgainAtAnotherRatio()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<QKeyCombination>, keys);
    QFETCH(qreal, ratio);
    if (QGuiApplication::screens().size() < 2)
        QSKIP("the platform has no second screen (tests/screens.json)");

    MainWindow moved;
    QVERIFY(showOnScreen(moved, from));
    twoRunsKeptWithNo(moved);
    const auto cleanup = qScopeGuard([] { ScreenZoom::setFactor(1); });
    if (from != to) {
        moved.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&moved));
        for (const QKeyCombination key : std::exchange(keys, {}))
            QTest::keyClick(&moved, key.key(), key.keyboardModifiers());
    }
    QVERIFY(showOnScreen(moved, to));
    // Device pixels from the screen's corner, which Qt's units share.
    const QPoint origin = moved.screen()->geometry().topLeft();
    const QPoint corner = (moved.geometry().topLeft() - origin) * moved.devicePixelRatioF();
    moved.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&moved));
    for (const QKeyCombination key : keys)
        QTest::keyClick(&moved, key.key(), key.keyboardModifiers());
    QTRY_COMPARE_WITH_TIMEOUT(moved.devicePixelRatioF(), ratio, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(moved.canvas()->image().devicePixelRatio(), ratio, 20000);
    // Within what a whole position in Qt's units allows.
    if (from == to)
        QTRY_VERIFY_WITH_TIMEOUT(
            std::abs(((moved.geometry().topLeft() - origin) * ratio - corner).x()) <= ratio &&
                std::abs(((moved.geometry().topLeft() - origin) * ratio - corner).y()) <= ratio,
            20000);

    // Made at the zoom the keys gave: Qt's factor holds for every window.
    MainWindow there;
    QVERIFY(showOnScreen(there, to));
    QCOMPARE(there.devicePixelRatioF(), ratio);
    twoRunsKeptWithNo(there);
    QCOMPARE(moved.canvas()->image(), there.canvas()->image());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

void TestMainWindow::readoutAndCursorShowTheCurvesNumbers_data()
{
    QTest::addColumn<int>("pointerRow");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("row");

    const QList<int> none;
    using K = Qt::Key;
    QTest::newRow("pointer, row 0") << 0 << none << 0;
    QTest::newRow("pointer, row 40") << 40 << none << 40;
    QTest::newRow("pointer, row 300") << 300 << none << 300;
    QTest::newRow("pointer off the plot") << 320 << none << -1;
    QTest::newRow("E") << -1 << QList<int>{K::Key_E} << 0;
    QTest::newRow("Down") << -1 << QList<int>{K::Key_E, K::Key_Down} << 1;
    QTest::newRow("Page Down twice, Up")
        << -1 << QList<int>{K::Key_E, K::Key_PageDown, K::Key_PageDown, K::Key_Up} << 19;
    QTest::newRow("End, Page Up") << -1 << QList<int>{K::Key_E, K::Key_End, K::Key_PageUp} << 290;
    QTest::newRow("End, Down stays") << -1 << QList<int>{K::Key_E, K::Key_End, K::Key_Down} << 300;
    QTest::newRow("Up at 0 stays") << -1 << QList<int>{K::Key_E, K::Key_Up} << 0;
    QTest::newRow("Page Down, Home")
        << -1 << QList<int>{K::Key_E, K::Key_PageDown, K::Key_Home} << 0;
    QTest::newRow("Escape") << -1 << QList<int>{K::Key_E, K::Key_Down, K::Key_Escape} << -1;
    QTest::newRow("Tab") << -1 << QList<int>{K::Key_E, K::Key_Tab} << -1;
}

// After two runs kept side by side (frequency 1, then 0,5), the pointer over the plot and the
// cursor the keys move show each curve's probability at that row, as the curve log has it;
// Escape and Tab give the focus back where it was. Not a pixel of the picture changes.
void TestMainWindow::readoutAndCursorShowTheCurvesNumbers()
{
    QFETCH(int, pointerRow);
    QFETCH(QList<int>, keys);
    QFETCH(int, row);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.pressStart();
    {
        const QuestionAnswerer answerer(QMessageBox::No);
        window.clickOption(Option::op05);
        window.pressStart();
        QCOMPARE(answerer.questions(), 1);
    }
    const QImage picture = window.canvas()->image();
    CurveExplorer *explorer = window.explorer();
    auto *layer = window.canvas()->findChild<QWidget *>(QStringLiteral("curveReadout"));
    QVERIFY(layer);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *start = control(window, "cmdStart");
    start->setFocus();

    const QRectF plot = CurveExplorer::plotArea();
    if (pointerRow >= 0)
        QTest::mouseMove(window.canvas(),
                         QPoint(int(plot.left()) + 100, int(plot.top()) + pointerRow));
    for (const int key : keys)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

    if (row < 0) {
        QVERIFY(!explorer->shownRow());
        QVERIFY(!layer->isVisible());
        QCOMPARE(QApplication::focusWidget(), start);
    } else {
        QCOMPARE(explorer->shownRow(), std::optional<int>(row));
        QVERIFY(layer->isVisible());
        // Each kept curve's point at that row, from the log, to a tenth.
        QStringList values;
        for (const CurveRow &point : window.curves().rows())
            if (point.Point.Thickness == row)
                values
                    << QStringLiteral("run %1 %2").arg(point.Run).arg(point.Point.PlotX, 0, 'f', 1);
        QCOMPARE(values.size(), 2);
        QCOMPARE(explorer->readout(),
                 QStringLiteral("thickness %1: ").arg(row) + values.join(QStringLiteral(" · ")));
        if (!keys.isEmpty())
            QCOMPARE(QApplication::focusWidget(), window.canvas());
    }
    if (pointerRow == 40)
        QCOMPARE(explorer->readout(), QStringLiteral("thickness 40: run 1 200.0 · run 2 100.0"));
    QCOMPARE(window.canvas()->image(), picture);

    // Leaving the plot takes the pointer's readout away.
    if (pointerRow >= 0) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(window.canvas(), &leave);
        QVERIFY(!layer->isVisible());
    }
}
