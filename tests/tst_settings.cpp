// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recordingcanvas.h"

#include "settings/numbertext.h"
#include "settings/settingshandlers.h"
#include "settings/settingsview.h"

#include <QLocale>
#include <QTest>

#include <map>

namespace {

// The option groups, to keep one chosen option per group as the window does.
int groupOf(Option option)
{
    switch (option) {
    case Option::op05:
    case Option::op1:
    case Option::op15:
        return 0;
    case Option::op05D:
    case Option::op1D:
    case Option::op15D:
        return 1;
    case Option::opModra:
    case Option::opzelená:
    case Option::opCervena:
    case Option::opCerna:
        return 2;
    case Option::op0:
    case Option::op50:
        return 3;
    case Option::nPomalá:
    case Option::opPomalší:
    case Option::opRychlá:
        return 4;
    }
    return -1;
}

class FakeView : public SettingsView
{
public:
    void selectOption(Option option) override { chosen[groupOf(option)] = option; }
    void hideThicknessPicture() override { pictureShown = false; }

    std::map<int, Option> chosen;
    bool pictureShown = true;
};

using Texts = std::map<StateField, QString>;

} // namespace

Q_DECLARE_METATYPE(Option)
Q_DECLARE_METATYPE(Texts)

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void numberTexts_data();
    void numberTexts();
    void startUp();
    void handlers_data();
    void handlers();
    void scrollBar_data();
    void scrollBar();
};

void TestSettings::numberTexts_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("half");
    QTest::addColumn<QString>("oneAndHalf");

    QTest::newRow("decimal comma") << "cs_CZ"
                                   << "0,5"
                                   << "1,5";
    QTest::newRow("decimal comma, German") << "de_DE"
                                           << "0,5"
                                           << "1,5";
    QTest::newRow("decimal point") << "en_US"
                                   << "0.5"
                                   << "1.5";
    QTest::newRow("decimal point, British") << "en_GB"
                                            << "0.5"
                                            << "1.5";
}

// What a writer stores reads back as the value written, under the same locale.
void TestSettings::numberTexts()
{
    QFETCH(QString, locale);
    QFETCH(QString, half);
    QFETCH(QString, oneAndHalf);
    QLocale::setDefault(QLocale(locale));

    QCOMPARE(NumberText::fromFraction(0.5), half);
    QCOMPARE(NumberText::fromFraction(1.5), oneAndHalf);
    QCOMPARE(NumberText::toNumber(half), 0.5);
    QCOMPARE(NumberText::toNumber(oneAndHalf), 1.5);
    const std::pair<int, const char *> integers[] = {
        {0, "0"}, {1, "1"}, {15, "15"}, {30, "30"}, {50, "50"}};
    for (const auto &[value, text] : integers) {
        QCOMPARE(NumberText::fromInteger(value), QString::fromLatin1(text));
        QCOMPARE(NumberText::toNumber(NumberText::fromInteger(value)), double(value));
    }
    QCOMPARE(NumberText::fromInteger(1234), QStringLiteral("1234"));
    QVERIFY(!NumberText::toNumber(QStringLiteral("abc")));
    QVERIFY(!NumberText::toNumber(QString()));
    QVERIFY(!NumberText::toNumber(QStringLiteral("inf")));
}

void TestSettings::startUp()
{
    MemorySettingsStore store;
    for (auto field : {StateField::nStartuje, StateField::nFrekvence, StateField::nNasob,
                       StateField::nPosunZdroje, StateField::nBarva, StateField::nSpomaleni})
        store.setText(field, QStringLiteral("garbage"));
    FakeView view;
    SettingsHandlers(store, view).startUp();

    QCOMPARE(store.text(StateField::nStartuje), QStringLiteral("Ano"));
    QCOMPARE(store.text(StateField::nFrekvence), QStringLiteral("1"));
    QCOMPARE(store.text(StateField::nNasob), QStringLiteral("1"));
    QCOMPARE(store.text(StateField::nPosunZdroje), QStringLiteral("0"));
    QCOMPARE(store.text(StateField::nBarva), QStringLiteral("zelená"));
    QCOMPARE(store.text(StateField::nSpomaleni), QStringLiteral("1"));
    const std::map<int, Option> chosen = {{0, Option::op1},
                                          {1, Option::op1D},
                                          {2, Option::opzelená},
                                          {3, Option::op0},
                                          {4, Option::opRychlá}};
    QCOMPARE(view.chosen, chosen);
}

void TestSettings::handlers_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<Option>("option");
    QTest::addColumn<Texts>("written");
    QTest::addColumn<int>("colourOption");
    QTest::addColumn<bool>("hidesPicture");

    const auto cs = QStringLiteral("cs_CZ");
    const auto en = QStringLiteral("en_US");
    const int keepsColour = -1;
    using F = StateField;
    QTest::newRow("op05, comma") << cs << Option::op05
                                 << Texts{{F::nFrekvence, "0,5"}, {F::nBarva, "červená"}}
                                 << int(Option::opCervena) << true;
    QTest::newRow("op05, point") << en << Option::op05
                                 << Texts{{F::nFrekvence, "0.5"}, {F::nBarva, "červená"}}
                                 << int(Option::opCervena) << true;
    QTest::newRow("op1") << cs << Option::op1 << Texts{{F::nFrekvence, "1"}, {F::nBarva, "zelená"}}
                         << int(Option::opzelená) << true;
    QTest::newRow("op15, comma") << cs << Option::op15
                                 << Texts{{F::nFrekvence, "1,5"}, {F::nBarva, "modrá"}}
                                 << int(Option::opModra) << true;
    QTest::newRow("op05D, point") << en << Option::op05D << Texts{{F::nNasob, "0.5"}} << keepsColour
                                  << true;
    QTest::newRow("op1D") << cs << Option::op1D << Texts{{F::nNasob, "1"}} << keepsColour << true;
    QTest::newRow("op15D, comma") << cs << Option::op15D << Texts{{F::nNasob, "1,5"}} << keepsColour
                                  << true;
    QTest::newRow("opModra") << cs << Option::opModra << Texts{{F::nBarva, "modrá"}} << keepsColour
                             << true;
    QTest::newRow("opzelená") << cs << Option::opzelená << Texts{{F::nBarva, "zelená"}}
                              << keepsColour << true;
    QTest::newRow("opCervena") << cs << Option::opCervena << Texts{{F::nBarva, "červená"}}
                               << keepsColour << true;
    QTest::newRow("opCerna") << cs << Option::opCerna << Texts{{F::nBarva, "černá"}} << keepsColour
                             << true;
    QTest::newRow("op0") << cs << Option::op0 << Texts{{F::nPosunZdroje, "0"}} << keepsColour
                         << false;
    QTest::newRow("op50") << cs << Option::op50 << Texts{{F::nPosunZdroje, "50"}} << keepsColour
                          << false;
    QTest::newRow("nPomalá") << cs << Option::nPomalá << Texts{{F::nSpomaleni, "30"}} << keepsColour
                             << false;
    QTest::newRow("opPomalší") << cs << Option::opPomalší << Texts{{F::nSpomaleni, "15"}}
                               << keepsColour << false;
    QTest::newRow("opRychlá") << cs << Option::opRychlá << Texts{{F::nSpomaleni, "1"}}
                              << keepsColour << false;
}

// Each handler writes its fields and nothing else, selects the matching colour where a
// frequency brings one, and hides the picture for frequency, length and colour alone.
void TestSettings::handlers()
{
    QFETCH(QString, locale);
    QFETCH(Option, option);
    QFETCH(Texts, written);
    QFETCH(int, colourOption);
    QFETCH(bool, hidesPicture);
    QLocale::setDefault(QLocale(locale));

    MemorySettingsStore store;
    store.setText(StateField::nStartuje, QStringLiteral("Ne"));
    store.setText(StateField::nSpomaleni, QStringLiteral("7"));
    store.setText(StateField::nBarva, QStringLiteral("černá"));
    store.setText(StateField::nNasob, QStringLiteral("9"));
    const MemorySettingsStore before = store;
    FakeView view;
    view.chosen[2] = Option::opCerna;
    SettingsHandlers(store, view).optionChosen(option);

    for (auto field : {StateField::nStartuje, StateField::nFrekvence, StateField::nNasob,
                       StateField::nPosunZdroje, StateField::nBarva, StateField::nSpomaleni}) {
        const auto expected = written.find(field);
        QCOMPARE(store.text(field),
                 expected != written.end() ? expected->second : before.text(field));
    }
    QCOMPARE(int(view.chosen.at(2)), colourOption == -1 ? int(Option::opCerna) : colourOption);
    QCOMPARE(view.pictureShown, !hidesPicture);
    // What was written reads back as a number where it is one.
    for (const auto &[field, text] : written)
        if (field != StateField::nBarva)
            QVERIFY(store.number(field).has_value());
}

void TestSettings::scrollBar_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("fastest") << 1 << "1";
    QTest::newRow("middle") << 17 << "17";
    QTest::newRow("slowest") << 30 << "30";
}

void TestSettings::scrollBar()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(QStringLiteral("cs_CZ")));
    MemorySettingsStore store;
    FakeView view;
    SettingsHandlers(store, view).scrollBarChanged(value);
    QCOMPARE(store.text(StateField::nSpomaleni), text);
    QVERIFY(view.pictureShown);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
