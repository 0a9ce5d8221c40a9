// The window as a screen reader and a keyboard-only user meet it: what each control is
// called, where Tab and the arrow keys take the focus, and whether the focus shows.

#include "app/classicstyle.h"
#include "app/fonts.h"
#include "app/mainwindow.h"
#include "screen/canvaswidget.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTest>

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

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
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

// Everything a screen reader finds in the window is shown, and every control the keyboard
// reaches has a name. The hidden state fields and option groups are not there to find.
void TestAccessibility::everyReachableControlHasAName()
{
    QList<QAccessibleInterface *> toVisit{accessible(m_window.get())};
    int focusable = 0;
    while (!toVisit.isEmpty()) {
        QAccessibleInterface *iface = toVisit.takeFirst();
        auto *widget = qobject_cast<QWidget *>(iface->object());
        QVERIFY(widget);
        QVERIFY2(widget->isVisible(), qPrintable(widget->objectName() + " is hidden"));
        if (widget->focusPolicy() != Qt::NoFocus) {
            QVERIFY2(iface->state().focusable, qPrintable(widget->objectName()));
            QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(widget->objectName() + QStringLiteral(" has no accessible name")));
            ++focusable;
        }
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

    QTest::newRow("frequency 0,5") << "op05" << QStringList{"frequency", "0.5", "red"};
    QTest::newRow("frequency 1") << "op1" << QStringList{"frequency", "1", "green"};
    QTest::newRow("frequency 1,5") << "op15" << QStringList{"frequency", "1.5", "blue"};
    QTest::newRow("length 0,5") << "op05D" << QStringList{"length", "0.5"};
    QTest::newRow("length 1") << "op1D" << QStringList{"length", "1"};
    QTest::newRow("length 1,5") << "op15D" << QStringList{"length", "1.5"};
    QTest::newRow("colour black") << "opCerna" << QStringList{"graph colour", "black"};
    QTest::newRow("colour červená") << "opCervena" << QStringList{"graph colour", "red"};
    QTest::newRow("colour zelená") << "opzelená" << QStringList{"graph colour", "green"};
    QTest::newRow("colour modrá") << "opModra" << QStringList{"graph colour", "blue"};
    QTest::newRow("scroll bar") << "HScroll1" << QStringList{"slow-down"};
    QTest::newRow("title") << "nZrcadleniDvouRozhrani" << QStringList{"title"};
    QTest::newRow("heading") << "nRelativeRngth" << QStringList{"vectors of two paths"};
    QTest::newRow("Start") << "cmdStart" << QStringList{"start"};
    QTest::newRow("Exit") << "cmdKonec" << QStringList{"exit"};
    QTest::newRow("colour frame") << "frmBarva1" << QStringList{"graph colour"};
    QTest::newRow("frequency frame") << "frmFrekvence" << QStringList{"frequency"};
    QTest::newRow("length frame") << "frmRelDelka" << QStringList{"length"};
}

void TestAccessibility::namesSayWhatTheCaptionsMean()
{
    QFETCH(QString, control);
    QFETCH(QStringList, words);

    QWidget *widget = child(control.toUtf8().constData());
    const QString name = spokenName(widget);
    for (const QString &word : words)
        QVERIFY2(name.contains(word, Qt::CaseInsensitive),
                 qPrintable(QStringLiteral("\"%1\" lacks \"%2\"").arg(name, word)));
    // The scroll bar's range only a description can tell.
    if (control == QLatin1String("HScroll1")) {
        const QString description = accessible(widget)->text(QAccessible::Description);
        QVERIFY2(description.contains(QLatin1String("1")) && description.contains("30") &&
                     description.contains("fastest") && description.contains("slowest"),
                 qPrintable(description));
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

// An image named by the prompt, then by what the run drew. (Qt sends the change event
// only while a screen reader listens, which it never does on the offscreen platform.)
void TestAccessibility::canvasTellsWhatItShows()
{
    QAccessibleInterface *iface = accessible(m_window->canvas());
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Graphic);
    QVERIFY(!iface->state().focusable);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Please press button Start"));
    QCOMPARE(accessible(child("cmdStart"))->role(), QAccessible::Button);

    static_cast<QPushButton *>(child("cmdStart"))->click();
    QCOMPARE(iface->text(QAccessible::Name),
             QStringLiteral("1 curve. Run 1: relative frequency 1, green; the probability swings "
                            "between 0 and 200 with a period of about 80 rows"));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
