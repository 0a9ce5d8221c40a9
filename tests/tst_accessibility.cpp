// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as a screen reader and a keyboard-only user meet it: what each control is
// called, where Tab and the arrow keys take the focus, and whether the focus shows.

#include "app/classicstyle.h"
#include "app/fonts.h"
#include "app/mainwindow.h"
#include "screen/canvaswidget.h"
#include "screen/curveexplorer.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusFrame>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QAccessibleInterface *accessible(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

QString spokenName(QWidget *widget)
{
    QAccessibleInterface *iface = accessible(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// What the window tells a screen reader of, from Qt's accessibility events.
QList<QPointer<QObject>> eventSenders;

void recordEvent(QAccessibleEvent *event)
{
    eventSenders.append(event->object());
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void everyReachableControlHasAName();
    void namesSayWhatTheCaptionsMean_data();
    void namesSayWhatTheCaptionsMean();
    void tabVisitsTheControlsInOrder();
    void arrowKeysChooseWithinAGroup_data();
    void arrowKeysChooseWithinAGroup();
    void enterPressesOnlyTheFocusedButton();
    void scrollBarWorksFromTheKeyboard();
    void clickOnScrollBarLeavesTheFocus();
    void focusIsVisible();
    void canvasTellsWhatItShows();
    void hiddenFieldsSendNothing();
    void exploredRowIsSpoken_data();
    void exploredRowIsSpoken();

private:
    QWidget *child(const char *name) const
    {
        auto *widget = m_window->findChild<QWidget *>(QString::fromUtf8(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QWidget *pressKey(Qt::Key key)
    {
        QWidget *focused = QApplication::focusWidget();
        if (!focused)
            return nullptr;
        QTest::keyClick(focused, key);
        return QApplication::focusWidget();
    }

    std::unique_ptr<MainWindow> m_window;
};

// The stops of the Tab chain, one per control or per group of options: a group's stop is
// its chosen option; the arrow keys move within the group.
const char *const TabStops[] = {"cmdStart", "opzelená",      "op1",
                                "cmdKonec", "op1D",          "nZrcadleniDvouRozhrani",
                                "HScroll1", "nRelativeRngth"};

void TestAccessibility::initTestCase()
{
    // Before any window: the window's own handler hands on what it lets through.
    QAccessible::installUpdateHandler(recordEvent);
    QApplication::setStyle(new ClassicStyle);
    Fonts::installSubstitutions();
}

void TestAccessibility::init()
{
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestAccessibility::cleanup()
{
    QLocale::setDefault(QLocale::system());
}

// Everything a screen reader finds in the window is shown, and every control the keyboard
// reaches has a name. The hidden state fields and option groups are not there to find.
void TestAccessibility::everyReachableControlHasAName()
{
    // Nothing that only decorates the focused scroll bar joins the tree.
    child("HScroll1")->setFocus(Qt::TabFocusReason);
    QList<QAccessibleInterface *> toVisit{accessible(m_window.get())};
    int focusable = 0;
    while (!toVisit.isEmpty()) {
        QAccessibleInterface *iface = toVisit.takeFirst();
        auto *widget = qobject_cast<QWidget *>(iface->object());
        QVERIFY(widget);
        QVERIFY2(widget->isVisible(), qPrintable(widget->objectName() + " is hidden"));
        QVERIFY2(!qobject_cast<QFocusFrame *>(widget), "a focus frame is in the tree");
        if (widget->focusPolicy() != Qt::NoFocus) {
            QVERIFY2(iface->state().focusable, qPrintable(widget->objectName()));
            QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(widget->objectName() + QStringLiteral(" has no accessible name")));
            ++focusable;
        }
        // A group names itself once: its options are not labelled by it as well.
        if (iface->role() == QAccessible::RadioButton)
            for (const auto &[other, relation] : iface->relations(QAccessible::Label))
                QVERIFY2(other->object() != widget->parentWidget(),
                         qPrintable(widget->objectName() + " is labelled by its group"));
        for (int i = 0; i < iface->childCount(); ++i)
            toVisit.append(iface->child(i));
    }
    // Start, Exit, the scroll bar, the two headings and ten option buttons.
    QCOMPARE(focusable, 15);

    // A hidden option cannot be chosen through its interface either.
    QAccessibleInterface *slowest = accessible(child("nPomalá"));
    slowest->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!qobject_cast<QRadioButton *>(child("nPomalá"))->isChecked());
}

void TestAccessibility::namesSayWhatTheCaptionsMean_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("locale");

    const auto row = [](const char *tag, const char *control, const QStringList &words,
                        const char *locale = "en_US") {
        QTest::newRow(tag) << control << words << locale;
    };
    row("frequency 0,5", "op05", {"frequency", "0.5", "red"});
    row("frequency 1", "op1", {"frequency", "1", "green"});
    row("frequency 1,5", "op15", {"frequency", "1.5", "blue"});
    row("frequency 1,5, Czech", "op15", {"frequency", "1,5", "blue"}, "cs_CZ");
    row("length 0,5", "op05D", {"length", "0.5"});
    row("length 0,5, Czech", "op05D", {"length", "0,5"}, "cs_CZ");
    row("length 1", "op1D", {"length", "1"});
    row("length 1,5", "op15D", {"length", "1.5"});
    row("colour black", "opCerna", {"graph colour", "black"});
    row("colour červená", "opCervena", {"graph colour", "red"});
    row("colour zelená", "opzelená", {"graph colour", "green"});
    row("colour modrá", "opModra", {"graph colour", "blue"});
    row("scroll bar", "HScroll1", {"slow-down"});
    row("title", "nZrcadleniDvouRozhrani", {"title"});
    row("heading", "nRelativeRngth", {"vectors of two paths"});
    row("Start", "cmdStart", {"start"});
    row("Exit", "cmdKonec", {"exit"});
    row("colour frame", "frmBarva1", {"graph colour"});
    row("frequency frame", "frmFrekvence", {"frequency"});
    row("length frame", "frmRelDelka", {"length"});
}

void TestAccessibility::namesSayWhatTheCaptionsMean()
{
    QFETCH(QString, control);
    QFETCH(QStringList, words);
    QFETCH(QString, locale);

    if (locale != QLocale().name()) {
        QLocale::setDefault(QLocale(locale));
        m_window = std::make_unique<MainWindow>();
    }
    QWidget *widget = child(control.toUtf8().constData());
    const QString name = spokenName(widget);
    for (const QString &word : words)
        QVERIFY2(name.contains(word, Qt::CaseInsensitive),
                 qPrintable(QStringLiteral("\"%1\" lacks \"%2\"").arg(name, word)));
    // The scroll bar's range and value only a description can tell, and a tooltip shows.
    if (control == QLatin1String("HScroll1")) {
        m_window->moveScrollBar(7);
        const QString description = accessible(widget)->text(QAccessible::Description);
        for (const char *word : {"7", "30", "left", "fastest", "slowest"})
            QVERIFY2(description.contains(QLatin1String(word)), qPrintable(description));
        QCOMPARE(widget->toolTip(), description);
    }
}

void TestAccessibility::tabVisitsTheControlsInOrder()
{
    QCOMPARE(QApplication::focusWidget(), child("cmdStart"));
    QVERIFY(accessible(child("cmdStart"))->state().focused);

    // Twice round, so that the chain is seen to close on Start.
    const int stops = int(std::size(TabStops));
    for (int i = 1; i <= 2 * stops; ++i) {
        QWidget *expected = child(TabStops[i % stops]);
        QWidget *reached = pressKey(Qt::Key_Tab);
        QVERIFY2(reached == expected,
                 qPrintable(QStringLiteral("Tab %1 reached %2, expected %3")
                                .arg(i)
                                .arg(reached ? reached->objectName() : QStringLiteral("nothing"),
                                     expected->objectName())));
        QVERIFY(accessible(reached)->state().focused);
    }
    // Shift+Tab walks the same stops backwards.
    for (int i = stops - 1; i >= 0; --i)
        QCOMPARE(pressKey(Qt::Key_Backtab), child(TabStops[i]));

    // A screen reader lists the window's controls in the same order, an option by its
    // group, and each group's options in their order on screen.
    QAccessibleInterface *window = accessible(m_window.get());
    for (int i = 0; i < stops; ++i) {
        QWidget *stop = child(TabStops[i]);
        QWidget *listed = qobject_cast<QRadioButton *>(stop) ? stop->parentWidget() : stop;
        QCOMPARE(window->child(i)->object(), listed);
    }
    const QStringList groups[] = {{"opCerna", "opCervena", "opzelená", "opModra"},
                                  {"op05", "op1", "op15"},
                                  {"op05D", "op1D", "op15D"}};
    for (const QStringList &options : groups) {
        QAccessibleInterface *group = accessible(child(options.first().toUtf8())->parentWidget());
        QCOMPARE(group->childCount(), options.size());
        for (int i = 0; i < group->childCount(); ++i)
            QCOMPARE(group->child(i)->object()->objectName(), options.at(i));
    }
}

void TestAccessibility::arrowKeysChooseWithinAGroup_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("texts");

    // From the Tab stop, the chosen option, onwards in tab order and round to it again.
    QTest::newRow("graph colour") << QStringList{"opzelená", "opModra", "opCerna", "opCervena",
                                                 "opzelená"}
                                  << "nBarva"
                                  << QStringList{"zelená", "modrá", "černá", "červená", "zelená"};
    QTest::newRow("frequency") << QStringList{"op1", "op15", "op05", "op1"} << "nFrekvence"
                               << QStringList{"1", "1.5", "0.5", "1"};
    QTest::newRow("length") << QStringList{"op1D", "op15D", "op05D", "op1D"} << "nNasob"
                            << QStringList{"1", "1.5", "0.5", "1"};
}

// Down and Right choose the next option, Up and Left the previous one, and the choice
// runs the option's handler as a click does.
void TestAccessibility::arrowKeysChooseWithinAGroup()
{
    QFETCH(QStringList, options);
    QFETCH(QString, field);
    QFETCH(QStringList, texts);

    const auto fieldText = [&] { return m_window->findChild<QLineEdit *>(field)->text(); };
    while (QApplication::focusWidget() != child(options.first().toUtf8().constData()))
        QVERIFY(pressKey(Qt::Key_Tab) != child("cmdStart"));
    for (qsizetype i = 1; i < options.size(); ++i) {
        QWidget *reached = pressKey(i % 2 ? Qt::Key_Down : Qt::Key_Right);
        QCOMPARE(reached->objectName(), options.at(i));
        QVERIFY(qobject_cast<QRadioButton *>(reached)->isChecked());
        QCOMPARE(fieldText(), texts.at(i));
    }
    for (qsizetype i = options.size() - 2; i >= 0; --i) {
        QCOMPARE(pressKey(i % 2 ? Qt::Key_Up : Qt::Key_Left)->objectName(), options.at(i));
        QCOMPARE(fieldText(), texts.at(i));
    }
}

// Enter presses the push button that has the focus, and nothing when an option has it.
void TestAccessibility::enterPressesOnlyTheFocusedButton()
{
    const auto firstRunFlag = [this] {
        return m_window->findChild<QLineEdit *>(QStringLiteral("nStartuje"))->text();
    };
    child("op05")->setFocus(Qt::TabFocusReason);
    pressKey(Qt::Key_Return);
    QCOMPARE(firstRunFlag(), QStringLiteral("Ano"));
    child("cmdStart")->setFocus(Qt::TabFocusReason);
    pressKey(Qt::Key_Enter);
    QCOMPARE(firstRunFlag(), QStringLiteral("Ne"));
}

void TestAccessibility::scrollBarWorksFromTheKeyboard()
{
    auto *scrollBar = qobject_cast<QScrollBar *>(child("HScroll1"));
    QVERIFY(scrollBar);
    while (QApplication::focusWidget() != scrollBar)
        QVERIFY(pressKey(Qt::Key_Tab) != child("cmdStart"));
    // The thumb starts at the left, at 1, the fastest; Right moves it towards slower.
    QCOMPARE(scrollBar->value(), 1);
    pressKey(Qt::Key_Right);
    QCOMPARE(scrollBar->value(), 2);
    pressKey(Qt::Key_Left);
    QCOMPARE(scrollBar->value(), 1);
    pressKey(Qt::Key_End);
    QCOMPARE(scrollBar->value(), 30);
    pressKey(Qt::Key_Home);
    QCOMPARE(scrollBar->value(), 1);
}

void TestAccessibility::clickOnScrollBarLeavesTheFocus()
{
    auto *scrollBar = qobject_cast<QScrollBar *>(child("HScroll1"));
    QVERIFY(scrollBar);
    // The right-hand arrow: one step towards slower.
    QTest::mouseClick(scrollBar, Qt::LeftButton, {},
                      QPoint(scrollBar->width() - 4, scrollBar->height() / 2));
    QCOMPARE(scrollBar->value(), 2);
    QCOMPARE(QApplication::focusWidget(), child("cmdStart"));
}

void TestAccessibility::focusIsVisible()
{
    // What the window shows around a control, with a margin for indicators drawn
    // outside it, as the keyboard arrives at the control and after it has moved on.
    const auto look = [this](QWidget *widget) {
        const QRect area(widget->mapTo(m_window.get(), QPoint(0, 0)), widget->size());
        return m_window->grab(area.adjusted(-4, -4, 4, 4)).toImage();
    };
    // Start shows its focus at start-up, before any key has moved it.
    for (int i = 0; i < int(std::size(TabStops)); ++i) {
        QWidget *widget = child(TabStops[i]);
        if (i > 0)
            QCOMPARE(pressKey(Qt::Key_Tab), widget);
        const QImage focused = look(widget);
        pressKey(Qt::Key_Tab);
        QVERIFY2(look(widget) != focused,
                 qPrintable(widget->objectName() + QStringLiteral(" looks the same with focus")));
        pressKey(Qt::Key_Backtab);
    }
}

// An image that tells what it shows, and a run announced as it starts and ends. (Qt sends
// the events only while a screen reader listens, which it never does on the offscreen
// platform; the end-to-end test hears them.)
void TestAccessibility::canvasTellsWhatItShows()
{
    QAccessibleInterface *iface = accessible(m_window->canvas());
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Graphic);
    QVERIFY(!iface->state().focusable);
    QVERIFY2(iface->text(QAccessible::Description).contains("empty: press Start"),
             qPrintable(iface->text(QAccessible::Description)));
    QCOMPARE(accessible(child("cmdStart"))->role(), QAccessible::Button);

    static_cast<QPushButton *>(child("cmdStart"))->click();
    const QString description =
        QStringLiteral("1 curve. Run 1: relative frequency 1, relative length 1, green; the "
                       "probability swings between 0 and 200 with a period of about 80 rows.");
    QCOMPARE(iface->text(QAccessible::Description), description);
    QAccessibleInterface *window = accessible(m_window.get());
    QAccessibleInterface *notification = window->child(window->childCount() - 1);
    QCOMPARE(notification->role(), QAccessible::Notification);
    QCOMPARE(notification->text(QAccessible::Name), description);
    QCOMPARE(QApplication::focusWidget(), child("cmdStart"));
}

// The state fields are hidden and hold the program's own words: changing them tells a
// screen reader nothing, while a shown control's news still goes out.
void TestAccessibility::hiddenFieldsSendNothing()
{
    // (Qt sends its events only while a screen reader listens, which none does on the
    // offscreen platform: they go to the window's handler by hand here, as Qt would send
    // them.)
    const QAccessible::UpdateHandler windowsHandler = QAccessible::installUpdateHandler(nullptr);
    QAccessible::installUpdateHandler(windowsHandler);
    QVERIFY(windowsHandler && windowsHandler != recordEvent);
    eventSenders.clear();
    for (const char *field : {"nFrekvence", "nBarva", "nStartuje", "nNasob", "nSpomaleni"}) {
        QAccessibleTextCursorEvent caretMoved(child(field), 1);
        windowsHandler(&caretMoved);
        QAccessibleValueChangeEvent textChanged(child(field), QStringLiteral("0,5"));
        windowsHandler(&textChanged);
    }
    QAccessibleEvent nameChanged(child("cmdStart"), QAccessible::NameChanged);
    windowsHandler(&nameChanged);
    for (const char *field : {"nFrekvence", "nBarva", "nStartuje", "nNasob", "nSpomaleni"})
        QVERIFY2(!eventSenders.contains(child(field)), field);
    QVERIFY(eventSenders.contains(child("cmdStart")));
}

void TestAccessibility::exploredRowIsSpoken_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("value");
    QTest::newRow("en_US") << "en_US"
                           << "thickness 40: run 1 200.0 · run 2 100.0";
    QTest::newRow("cs_CZ") << "cs_CZ"
                           << "thickness 40: run 1 200,0 · run 2 100,0";
}

// Exploring, the canvas holds the focus and its value is the row's probability on each
// kept curve, in the user's way with numbers; its description still tells every curve, and
// Escape gives the focus back.
void TestAccessibility::exploredRowIsSpoken()
{
    QFETCH(QString, locale);
    QFETCH(QString, value);
    QLocale::setDefault(QLocale(locale));
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->pressStart();
    m_window->clickOption(Option::op05);
    // Two curves: the first is kept when the second run asks.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->button(QMessageBox::No)->click();
    });
    answer.start(20);
    m_window->pressStart();
    answer.stop();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    child("cmdStart")->setFocus();
    const QString curves = accessible(m_window->canvas())->text(QAccessible::Description);
    QVERIFY2(curves.startsWith(QStringLiteral("2 curves")), qPrintable(curves));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    QAccessibleInterface *iface = accessible(m_window->canvas());
    QVERIFY(iface->state().focused);
    QCOMPARE(iface->text(QAccessible::Value), value);
    QCOMPARE(iface->text(QAccessible::Description), value + QStringLiteral(". ") + curves);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), child("cmdStart"));
    QCOMPARE(iface->text(QAccessible::Value), QString());
    QCOMPARE(iface->text(QAccessible::Description), curves);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
